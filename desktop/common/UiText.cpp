#include "UiText.h"

#include "DataFolder.h"

#include <QFileInfo>
#include <QTranslator>

#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

namespace lumivane {
namespace {

std::unique_ptr<QTranslator>& installedTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// The numbered messages whose translation may not be formatted: its conversions differ.
std::set<int>& mistranslatedFormats()
{
    static std::set<int> numbers;
    return numbers;
}

// The printf conversions of a format text in order, each as its length modifier and conversion letter
// ("%-5ld" gives "ld"); nothing for a text with a conversion that takes more than its own argument
// ("*", "%n", "$") or ends in the middle of one.
std::optional<std::vector<std::string>> conversionsOf(std::string_view format)
{
    std::vector<std::string> conversions;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (++i < format.size() && format[i] == '%')
            continue;
        i = format.find_first_not_of("-+ #0123456789.", i);
        if (i == std::string_view::npos)
            return std::nullopt;
        const size_t length = i;
        i = format.find_first_not_of("hljztL", i);
        if (i == std::string_view::npos ||
            std::string_view("diouxXeEfFgGaAcsp").find(format[i]) == std::string_view::npos)
            return std::nullopt;
        conversions.emplace_back(format.substr(length, i - length + 1));
    }
    return conversions;
}

void checkTranslatedFormats()
{
    mistranslatedFormats().clear();
    for (const int number : messageNumbers()) {
        const char* english = messageText(number);
        if (std::strchr(english, '%') == nullptr)
            continue;
        const std::string translated = uiText(english).toStdString();
        if (translated != english && conversionsOf(translated) != conversionsOf(english))
            mistranslatedFormats().insert(number);
    }
}

} // namespace

QString uiText(int number)
{
    return uiText(messageText(number));
}

QString uiText(const char* english)
{
    return QCoreApplication::translate(kTextContext, english);
}

QString uiFormatText(int number)
{
    return mistranslatedFormats().count(number) ? QString::fromUtf8(messageText(number)) : uiText(number);
}

namespace {
int g_applicationTitleMessage = 57344;
} // namespace

QString applicationTitle()
{
    return uiText(g_applicationTitleMessage);
}

void setApplicationTitleMessage(int number)
{
    g_applicationTitleMessage = number;
}

bool loadTranslation(const std::string& resource)
{
    unloadTranslation();
    if (resource.empty())
        return false;
    QString path = QString::fromStdString(resource);
    if (QFileInfo(path).isRelative())
        path = QString::fromStdString(programFilesFolder()) + "/" + path;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(path) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installedTranslator() = std::move(translator);
    checkTranslatedFormats();
    return true;
}

void unloadTranslation()
{
    if (auto& translator = installedTranslator()) {
        QCoreApplication::removeTranslator(translator.get());
        translator.reset();
    }
    mistranslatedFormats().clear();
}

QString weekdayText(int day)
{
    constexpr int kSunday = 135; // the string table's "Sun." ... "Sat."
    return uiText(kSunday + day);
}

} // namespace lumivane
