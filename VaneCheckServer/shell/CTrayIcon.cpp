#include "CTrayIcon.h"

#include "ServerImages.h"

namespace lumivane {

CTrayIcon::CTrayIcon(Retries retries, QObject* parent) : QObject(parent), m_retries(retries)
{
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &CTrayIcon::tryToAdd);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &CTrayIcon::activated);
}

CTrayIcon::~CTrayIcon()
{
    Remove();
}

bool CTrayIcon::Add(int iconId, const QString& tip)
{
    if (m_adding || isShown())
        return false;
    m_adding = true;
    m_attemptsMade = 0;
    m_iconId = iconId;
    m_icon.setIcon(trayIcon(iconId));
    if (!tip.isEmpty())
        m_icon.setToolTip(tip);
    tryToAdd();
    return true;
}

void CTrayIcon::tryToAdd()
{
    ++m_attemptsMade;
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_icon.show();
        m_adding = false;
        emit added();
        return;
    }
    if (m_attemptsMade >= m_retries.attempts) {
        m_adding = false;
        emit gaveUp();
        return;
    }
    m_retryTimer.start(m_retries.interval);
}

void CTrayIcon::SetIcon(int iconId)
{
    if (iconId == m_iconId)
        return;
    m_iconId = iconId;
    m_icon.setIcon(trayIcon(iconId));
}

void CTrayIcon::SetTip(const QString& tip)
{
    m_icon.setToolTip(tip);
}

void CTrayIcon::Remove()
{
    m_retryTimer.stop();
    m_adding = false;
    m_icon.hide();
}

} // namespace lumivane
