#include "CConfigVersionPage.h"

#include "common/UiText.h"
#include "tree/PanelTreeImages.h"

#include <QGridLayout>
#include <QLabel>

namespace lumivane {

CConfigVersionPage::CConfigVersionPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("versionPage");
    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(32, 32));
    auto* title = new QLabel(applicationTitle(), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* version = new QLabel(versionText(), this);
    version->setObjectName("versionLabel");

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    layout->setHorizontalSpacing(16);
    layout->setContentsMargins(24, 24, 24, 24);
}

QString CConfigVersionPage::versionText()
{
#ifdef LUMIVANE_VERSION
    const QString version = QStringLiteral(LUMIVANE_VERSION);
#else
    const QString version;
#endif
    return QString("Ver. %1").arg(version.isEmpty() ? QStringLiteral("???") : version);
}

} // namespace lumivane
