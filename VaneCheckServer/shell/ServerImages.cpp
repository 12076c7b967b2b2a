#include "ServerImages.h"

#include "StatusList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSvgRenderer>

// The pictures are compiled into this static library; its resources are registered on first use.
static void registerServerResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(lumiwatch);
        return true;
    }();
    (void)registered;
}

namespace lumivane {
namespace {

constexpr int kTraySizes[] = {16, 22, 24, 32, 48, 64};
constexpr int kImageSize = 16;

QPixmap renderSvg(QSvgRenderer& renderer, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

void drawDisc(QPainter& painter, const QColor& fill, const QColor& rim)
{
    painter.setPen(QPen(rim, 1.2));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(2, 2, 12, 12));
}

void drawMark(QPainter& painter, const QString& mark, const QColor& colour, const QRectF& box)
{
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, mark);
}

void drawCross(QPainter& painter)
{
    drawDisc(painter, QColor("#c62828"), QColor("#7f0000"));
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
    painter.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
}

void drawWarning(QPainter& painter)
{
    QPainterPath triangle;
    triangle.moveTo(8, 1.5);
    triangle.lineTo(15, 14.5);
    triangle.lineTo(1, 14.5);
    triangle.closeSubpath();
    painter.setPen(QPen(QColor("#8d2c00"), 1));
    painter.setBrush(QColor("#ef6c00"));
    painter.drawPath(triangle);
    drawMark(painter, QStringLiteral("!"), Qt::white, QRectF(0, 4, 16, 11));
}

QPixmap drawImage(int index)
{
    QPixmap pixmap(kImageSize, kImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case statusImages::kConnectionError:
        drawCross(painter);
        break;
    case statusImages::kError:
        drawWarning(painter);
        break;
    case statusImages::kNotYet:
        drawDisc(painter, QColor("#eceff1"), QColor("#78909c"));
        drawMark(painter, QStringLiteral("?"), QColor("#455a64"), QRectF(0, 0, 16, 16));
        break;
    case statusImages::kPowerOn:
        drawDisc(painter, QColor("#43a047"), QColor("#1b5e20"));
        break;
    case statusImages::kSignalWaiting:
        drawDisc(painter, QColor("#fdd835"), QColor("#a68b00"));
        painter.setBrush(QColor("#a68b00"));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(6, 6, 4, 4));
        break;
    case statusImages::kPowerOff:
        drawDisc(painter, QColor("#616161"), QColor("#212121"));
        break;
    default:
        return {};
    }
    return pixmap;
}

} // namespace

QIcon trayIcon(int iconId)
{
    registerServerResources();
    QSvgRenderer renderer(QStringLiteral(":/lumiwatch/icons/tray-%1.svg").arg(iconId));
    if (!renderer.isValid())
        return {};
    QIcon icon;
    for (const int size : kTraySizes)
        icon.addPixmap(renderSvg(renderer, size));
    return icon;
}

QIcon statusImage(int index)
{
    const QPixmap pixmap = drawImage(index);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

} // namespace lumivane
