#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace lumivane::test {

inline constexpr const char* kModalWatchName = "lumivaneModalWatch";

// Acts on a modal dialog that the code under test is about to open with exec(): once a dialog of type
// `Dialog` is the active modal widget, `act` runs on it (and must close it). Set it up before the click
// that opens the dialog. Gives up silently after `timeoutMs`, or when cancelModalWatches() is called.
template <typename Dialog> void whenModalShown(std::function<void(Dialog*)> act, int timeoutMs = 5000)
{
    auto* poll = new QTimer(QCoreApplication::instance());
    poll->setObjectName(kModalWatchName);
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, act = std::move(act)] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        const bool found = dialog && dialog->isVisible();
        if (found || deadline.hasExpired()) {
            poll->stop();
            poll->setObjectName(QString()); // no longer waiting
            poll->deleteLater();
        }
        if (found)
            act(dialog);
    });
    poll->start(10);
}

// Drops the watches that found no dialog, so that none outlives its test.
inline int cancelModalWatches()
{
    const QList<QTimer*> watches =
        QCoreApplication::instance()->findChildren<QTimer*>(kModalWatchName, Qt::FindDirectChildrenOnly);
    for (QTimer* watch : watches) {
        watch->stop();
        watch->deleteLater();
    }
    return int(watches.size());
}

// A child of `parent` by object name, or null.
template <typename Widget> Widget* child(const QObject* parent, const char* objectName)
{
    return parent->findChild<Widget*>(QString::fromLatin1(objectName));
}

} // namespace lumivane::test
