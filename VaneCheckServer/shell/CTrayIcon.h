#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <chrono>

namespace lumivane {

// The server's icon in the notification area. Adding it is tried again every 3 s, 120 times in all (six
// minutes, for a desktop whose notification area is still starting); added() or gaveUp() tells the outcome.
class CTrayIcon : public QObject
{
    Q_OBJECT
public:
    struct Retries
    {
        int attempts = 120;
        std::chrono::milliseconds interval{3000};
    };

    explicit CTrayIcon(Retries retries, QObject* parent = nullptr);
    explicit CTrayIcon(QObject* parent = nullptr) : CTrayIcon(Retries{}, parent) {}
    ~CTrayIcon() override;

    // Starts adding the icon. False at once while an icon is shown or being added.
    bool Add(int iconId, const QString& tip);
    void SetIcon(int iconId);
    void SetTip(const QString& tip);
    void Remove();

    bool isShown() const { return m_icon.isVisible(); }
    int iconId() const { return m_iconId; }
    QString tip() const { return m_icon.toolTip(); }
    int attemptsMade() const { return m_attemptsMade; }

signals:
    void added();
    void gaveUp();
    // A click on the icon (Trigger: left button, Context: right button).
    void activated(QSystemTrayIcon::ActivationReason reason);

private:
    void tryToAdd();

    Retries m_retries;
    QSystemTrayIcon m_icon;
    QTimer m_retryTimer;
    int m_iconId = 0;
    int m_attemptsMade = 0;
    bool m_adding = false;
};

} // namespace lumivane
