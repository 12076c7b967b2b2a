#include "CEnlargeChildWnd.h"

#include <QPainter>

namespace lumivane {

namespace {

const QColor kEmpty(255, 255, 255);
const QColor kPlacedMonitor(200, 255, 255);
const QColor kPending(255, 255, 0);
const QColor kSelectedEmpty(180, 180, 180);
const QColor kSelectedMonitor(100, 180, 200);

constexpr int kGap = 2;        // between neighbouring cells: the bezels of the drawing
constexpr int kTextMargin = 4; // between the cell's edge and its texts

} // namespace

QColor groupColour(int colourIndex)
{
    static const QColor colours[10] = {
        {255, 182, 182}, // rose
        {182, 226, 160}, // green
        {184, 196, 255}, // blue
        {255, 210, 150}, // orange
        {220, 186, 250}, // violet
        {214, 214, 150}, // khaki
        {255, 186, 230}, // pink
        {160, 215, 196}, // sea green
        {226, 200, 170}, // tan
        {200, 210, 226}, // slate
    };
    const int i = colourIndex < 0 ? 0 : colourIndex % 10;
    return colours[i];
}

CellLook cellLook(const EnlargeLayout& layout, int index)
{
    const WallCell& cell = layout.cell(index);
    CellLook look;
    look.selected = layout.selected() == index;
    look.turned = layout.isPortrait();
    look.corner = QString::number(index + 1);
    if (cell.monitor)
        look.label = QString::fromStdString(cell.monitor->name);
    if (cell.group.ENST == CellGroupRecord::Pending)
        look.fill = kPending;
    else if (cell.group.ENST == CellGroupRecord::Grouped)
        look.fill = groupColour(cell.group.ENCR);
    else if (look.selected)
        look.fill = cell.monitor ? kSelectedMonitor : kSelectedEmpty;
    else
        look.fill = cell.monitor ? kPlacedMonitor : kEmpty;
    if (cell.group.ENST == CellGroupRecord::Grouped)
        look.corner += QString::fromUtf8(" \u00b7 G%1").arg(cell.group.EGRP);
    return look;
}

CEnlargeChildWnd::CEnlargeChildWnd(int index, QWidget* parent) : QWidget(parent), m_index(index)
{
    setObjectName(QString("enlargeCell%1").arg(index));
    setAttribute(Qt::WA_TransparentForMouseEvents); // presses and releases go to the frame's grid
}

void CEnlargeChildWnd::setLook(const CellLook& look)
{
    m_look = look;
    setToolTip(look.label);
    update();
}

QRect CEnlargeChildWnd::labelRect() const
{
    // Turned, the label lies along the height; its rectangle is given in the turned painter's terms.
    const QSize size = m_look.turned ? QSize(height(), width()) : this->size();
    return QRect(QPoint(0, 0), size).adjusted(kGap + kTextMargin, kGap, -kGap - kTextMargin, -kGap);
}

QString CEnlargeChildWnd::shownLabel() const
{
    return fontMetrics().elidedText(m_look.label, Qt::ElideRight, labelRect().width());
}

void CEnlargeChildWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect face = rect().adjusted(kGap, kGap, -kGap, -kGap);
    painter.fillRect(face, m_look.fill);
    painter.setPen(QPen(m_look.selected ? QColor(20, 60, 90) : QColor(90, 90, 90), m_look.selected ? 2 : 1));
    painter.drawRect(face.adjusted(0, 0, -1, -1));

    painter.setPen(Qt::black);
    painter.save();
    if (m_look.turned) {
        painter.translate(0, height());
        painter.rotate(-90);
    }
    painter.drawText(labelRect(), Qt::AlignCenter | Qt::TextSingleLine, shownLabel());
    painter.restore();

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    painter.setFont(small);
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(face.adjusted(kTextMargin, 1, -kTextMargin, -1), Qt::AlignLeft | Qt::AlignTop, m_look.corner);
}

} // namespace lumivane
