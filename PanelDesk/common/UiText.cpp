#include "UiText.h"

#include "DataFolder.h"

#include <QFileInfo>
#include <QTranslator>

#include <memory>

namespace lumivane {
namespace {

std::unique_ptr<QTranslator>& installedTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
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

QString applicationTitle()
{
    return uiText(57344);
}

bool loadTranslation(const std::string& resource)
{
    unloadTranslation();
    if (resource.empty())
        return false;
    QString path = QString::fromStdString(resource);
    if (QFileInfo(path).isRelative())
        path = QString::fromStdString(programFolder()) + "/" + path;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(path) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installedTranslator() = std::move(translator);
    return true;
}

void unloadTranslation()
{
    if (auto& translator = installedTranslator()) {
        QCoreApplication::removeTranslator(translator.get());
        translator.reset();
    }
}

} // namespace lumivane
