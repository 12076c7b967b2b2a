#pragma once

#include "Strings.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <string>

namespace lumivane {

// The console's texts. Numbered messages come from the string table; the texts of the dialogs are
// written where they are used. Both go through the translation that the Resource setting names, looked
// up by their English text in the context "Lumivane".
inline constexpr const char* kTextContext = "Lumivane";

QString uiText(int number);
QString uiText(const char* english);

// The format text of a numbered message: its translation when that has the same printf conversions as
// the original, else the original (a translation that would be formatted with arguments of other types
// is never used; loadTranslation checks every message once).
QString uiFormatText(int number);

// A numbered message with printf-style arguments ("Found %d monitor(s).").
template <typename... Args> QString uiFormat(int number, Args... args)
{
    const std::string format = uiFormatText(number).toStdString();
    const int size = std::snprintf(nullptr, 0, format.c_str(), args...);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        std::snprintf(text.data(), text.size() + 1, format.c_str(), args...);
    return QString::fromStdString(text);
}

// "Lumivane" (57344): the title of the console's windows and message boxes.
QString applicationTitle();

// Loads the translation file `resource` (a path, or a name in the program folder) over the built-in
// texts. False, keeping the built-in texts, when it is empty or cannot be loaded.
bool loadTranslation(const std::string& resource);
void unloadTranslation();

// Texts the console shows that carry no message number.
namespace consoleTexts {
inline constexpr const char* kAdministrator = "Administrator";
inline constexpr const char* kNormalOperator = "Normal Operator";
inline constexpr const char* kRestrictedOperator = "Restricted Operator";
inline constexpr const char* kWrongPassword = "Wrong password!";
inline constexpr const char* kPasswordsDiffer = "The two passwords are different. Please input again.";
inline constexpr const char* kClearPasswords = "All passwords will be cleared.";
inline constexpr const char* kServerCannotStart = "Lumivane Server cannot be executed.";
inline constexpr const char* kNotAvailableYet = "\"%1\" is not available in this version of Lumivane.";
} // namespace consoleTexts

} // namespace lumivane
