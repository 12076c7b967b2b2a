#include "PanelTreeImages.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <functional>

namespace lumivane {
namespace {

using namespace panelImages;

// Every drawing works in a 16 × 16 space.
void drawMonitor(QPainter& p, bool grey = false)
{
    const QColor bezel = grey ? QColor(170, 170, 170) : QColor(40, 44, 52);
    const QColor screen = grey ? QColor(225, 225, 225) : QColor(70, 140, 220);
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(QRectF(0.5, 1.5, 15, 10.5), 1.2, 1.2);
    p.setBrush(screen);
    p.drawRect(QRectF(2, 3, 12, 7.5));
    p.setBrush(bezel);
    p.drawRect(QRectF(7, 12, 2, 1.5));
    p.drawRoundedRect(QRectF(4, 13.5, 8, 2), 0.8, 0.8);
}

// A badge in the lower right corner, on a white ring so that it stands out from the screen.
void drawBadge(QPainter& p, const QColor& fill)
{
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(fill);
    p.drawEllipse(QPointF(11.5, 11.5), 4.2, 4.2);
}

void drawGroup(QPainter& p)
{
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 196, 80));
    QPainterPath folder;
    folder.moveTo(1, 3.5);
    folder.lineTo(6, 3.5);
    folder.lineTo(7.5, 5);
    folder.lineTo(15, 5);
    folder.lineTo(15, 13.5);
    folder.lineTo(1, 13.5);
    folder.closeSubpath();
    p.drawPath(folder);
    p.setBrush(QColor(252, 220, 120));
    p.drawRect(QRectF(1, 6.5, 14, 7));
}

void drawRoot(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 44, 52));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
    p.setBrush(QColor(70, 140, 220));
    for (const QPointF corner : {QPointF(2.5, 2.5), QPointF(8.5, 2.5), QPointF(2.5, 8.5), QPointF(8.5, 8.5)})
        p.drawRect(QRectF(corner, QSizeF(5, 5)));
}

void drawPlaced(QPainter& p)
{
    drawMonitor(p);
    drawBadge(p, QColor(40, 160, 60));
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(9.3, 11.6), QPointF(11, 13.3), QPointF(13.8, 9.8)}));
}

void drawSchedule(QPainter& p, const QColor& face)
{
    drawMonitor(p);
    drawBadge(p, face);
    p.setPen(QPen(Qt::white, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11.5, 11.5), QPointF(11.5, 9));
    p.drawLine(QPointF(11.5, 11.5), QPointF(13.5, 12.5));
}

void drawNotInUse(QPainter& p)
{
    drawMonitor(p);
    drawBadge(p, QColor(210, 40, 40));
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(9.3, 11.5), QPointF(13.7, 11.5));
}

void drawOtherModel(QPainter& p)
{
    drawMonitor(p);
    p.setPen(QPen(Qt::white, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(245, 180, 0));
    p.drawPolygon(QPolygonF({QPointF(11.5, 6.5), QPointF(16, 15.5), QPointF(7, 15.5)}));
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(11.5, 9.5), QPointF(11.5, 12.6));
    p.drawPoint(QPointF(11.5, 14.2));
}

void drawUnknownModel(QPainter& p)
{
    drawMonitor(p);
    drawBadge(p, QColor(60, 90, 200));
    QFont font;
    font.setPixelSize(7);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(7.3, 7.3, 8.4, 8.4), Qt::AlignCenter, "?");
}

const std::array<std::function<void(QPainter&)>, kCount>& drawings()
{
    static const std::array<std::function<void(QPainter&)>, kCount> table = [] {
        std::array<std::function<void(QPainter&)>, kCount> t{};
        t[kGroup] = drawGroup;
        t[kMonitor] = [](QPainter& p) { drawMonitor(p); };
        t[kRoot] = drawRoot;
        t[kPlaced] = drawPlaced;
        t[kOtherSchedule] = [](QPainter& p) { drawSchedule(p, QColor(130, 130, 130)); };
        t[kSelectedSchedule] = [](QPainter& p) { drawSchedule(p, QColor(220, 110, 0)); };
        t[kNotSelectable] = [](QPainter& p) { drawMonitor(p, true); };
        t[kNotInUse] = drawNotInUse;
        t[kOtherModel] = drawOtherModel;
        t[kUnknownModel] = drawUnknownModel;
        return t;
    }();
    return table;
}

} // namespace

QPixmap panelImageStrip(int scale)
{
    QPixmap strip(kCount * kSize * scale, kSize * scale);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < kCount; ++i) {
        if (!drawings()[static_cast<size_t>(i)])
            continue; // indexes no item uses stay empty
        painter.save();
        painter.scale(scale, scale);
        painter.translate(i * kSize, 0);
        painter.setClipRect(0, 0, kSize, kSize);
        drawings()[static_cast<size_t>(i)](painter);
        painter.restore();
    }
    return strip;
}

PanelImageList panelImageList()
{
    PanelImageList icons{};
    const QPixmap small = panelImageStrip(1);
    const QPixmap large = panelImageStrip(2);
    for (int i = 0; i < kCount; ++i) {
        icons[static_cast<size_t>(i)].addPixmap(small.copy(i * kSize, 0, kSize, kSize));
        icons[static_cast<size_t>(i)].addPixmap(large.copy(i * kSize * 2, 0, kSize * 2, kSize * 2));
    }
    return icons;
}

QIcon applicationIcon()
{
    return panelImageList()[kMonitor];
}

} // namespace lumivane
