#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace lumivane::test {

inline constexpr const char* kModalWatchName = "lumivaneModalWatch";

// Closes every modal window that is open, so that the exec() a test waits in returns.
inline void closeModalWindows()
{
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        QCoreApplication::processEvents();
    }
}

// Acts on a modal dialog that the code under test is about to open with exec(): once a dialog of type
// `Dialog` is the active modal widget, `act` runs on it (and must close it). Set it up before the click
// that opens the dialog. When no such dialog is shown within `timeoutMs`, the running test fails and every
// modal window is closed, so that the test ends instead of waiting forever. cancelModalWatches() drops it.
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
        if (found) {
            act(dialog);
        } else if (deadline.hasExpired()) {
            QWidget* shown = QApplication::activeModalWidget();
            const QString what =
                QString("the expected %1 was not shown within the time limit (modal window: %2)")
                    .arg(QString::fromLatin1(Dialog::staticMetaObject.className()),
                         shown ? QString::fromLatin1(shown->metaObject()->className()) : QString("none"));
            QTest::qFail(qPrintable(what), __FILE__, __LINE__);
            closeModalWindows();
        }
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
