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
// "Sun." ... "Sat." for day 0 (Sunday) to 6.
QString weekdayText(int day);
// A text marked elsewhere (QT_TRANSLATE_NOOP("Lumivane", ...)) and looked up here.
QString uiText(const char* english);

// The dialogs' texts where they are written: ConsoleText::tr("Password Setting"). lupdate collects these
// and every QT_TRANSLATE_NOOP("Lumivane", ...) into the console's catalogue (the lumidesk_catalogue
// target, with the numbered messages besides).
class ConsoleText
{
    Q_DECLARE_TR_FUNCTIONS(Lumivane) // the context must stay kTextContext
};

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

// The title of the program's windows and message boxes: "Lumivane" (57344) in the console, "Lumivane Server"
// (528) in the server, which sets it at start.
QString applicationTitle();
void setApplicationTitleMessage(int number);

// Loads the translation file `resource` (a path, or a name in the program folder) over the built-in
// texts. False, keeping the built-in texts, when it is empty or cannot be loaded.
bool loadTranslation(const std::string& resource);
void unloadTranslation();

// Texts the console shows that carry no message number.
namespace consoleTexts {
inline constexpr const char* kAdministrator = QT_TRANSLATE_NOOP("Lumivane", "Administrator");
inline constexpr const char* kNormalOperator = QT_TRANSLATE_NOOP("Lumivane", "Normal Operator");
inline constexpr const char* kRestrictedOperator = QT_TRANSLATE_NOOP("Lumivane", "Restricted Operator");
inline constexpr const char* kWrongPassword = QT_TRANSLATE_NOOP("Lumivane", "Wrong password!");
inline constexpr const char* kPasswordsDiffer =
    QT_TRANSLATE_NOOP("Lumivane", "The two passwords are different. Please input again.");
inline constexpr const char* kClearPasswords = QT_TRANSLATE_NOOP("Lumivane", "All passwords will be cleared.");
inline constexpr const char* kServerCannotStart = QT_TRANSLATE_NOOP("Lumivane", "Lumivane Server cannot be executed.");
} // namespace consoleTexts

} // namespace lumivane
