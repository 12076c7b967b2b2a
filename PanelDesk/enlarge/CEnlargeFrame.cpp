#include "CEnlargeFrame.h"

#include "CEnlargeChildWnd.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace lumivane {

namespace {

// The view's area for the cells; the cells keep a monitor's 16:9 shape within it.
constexpr int kViewWidth = 580;
constexpr int kViewHeight = 380;
constexpr int kLongSide = 16;
constexpr int kShortSide = 9;

} // namespace

CEnlargeFrame::CEnlargeFrame(QWidget* parent) : QScrollArea(parent), m_grid(new QWidget)
{
    setObjectName("enlargeFrame");
    m_grid->setObjectName("enlargeGrid");
    m_grid->installEventFilter(this);
    setWidget(m_grid);
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    setFixedSize(sizeHint());
}

QSize CEnlargeFrame::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return {kViewWidth + frame, kViewHeight + frame};
}

QSize CEnlargeFrame::cellSizeFor(const EnlargeLayout& layout) const
{
    const int shownColumns = std::min(layout.columns(), kShownCells);
    const int shownRows = std::min(layout.rows(), kShownCells);
    // Room for the scroll bar a larger wall brings.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = kViewWidth - (layout.rows() > kShownCells ? bar : 0);
    const int height = kViewHeight - (layout.columns() > kShownCells ? bar : 0);
    const int across = layout.isPortrait() ? kShortSide : kLongSide;
    const int down = layout.isPortrait() ? kLongSide : kShortSide;
    // The largest cell of that shape that lets the shown cells fit.
    const int cellWidth = std::min(width / shownColumns, height / shownRows * across / down);
    return {cellWidth, cellWidth * down / across};
}

void CEnlargeFrame::rebuild(const EnlargeLayout& layout)
{
    for (CEnlargeChildWnd* cell : m_cells)
        delete cell;
    m_cells.clear();
    m_layout = &layout;
    m_cellSize = cellSizeFor(layout);
    m_grid->resize(m_cellSize.width() * layout.columns(), m_cellSize.height() * layout.rows());
    for (int index = 0; index < layout.cellCount(); ++index) {
        auto* cell = new CEnlargeChildWnd(index, m_grid);
        const DrawnPlace place = layout.drawnPlace(index);
        cell->setGeometry(place.column * m_cellSize.width(), place.row * m_cellSize.height(), m_cellSize.width(),
                          m_cellSize.height());
        cell->show();
        m_cells.push_back(cell);
    }
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    refresh(layout);
}

void CEnlargeFrame::refresh(const EnlargeLayout& layout)
{
    for (CEnlargeChildWnd* cell : m_cells)
        if (layout.isCell(cell->index()))
            cell->setLook(cellLook(layout, cell->index()));
}

CEnlargeChildWnd* CEnlargeFrame::cellWindow(int index) const
{
    return index >= 0 && index < static_cast<int>(m_cells.size()) ? m_cells[static_cast<size_t>(index)] : nullptr;
}

bool CEnlargeFrame::containsScreenPoint(const QPoint& screenPoint) const
{
    return viewport()->rect().contains(viewport()->mapFromGlobal(screenPoint));
}

std::optional<int> CEnlargeFrame::cellAtGridPoint(const QPoint& gridPoint) const
{
    if (!m_layout)
        return std::nullopt;
    return m_layout->cellAtPoint(gridPoint.x(), gridPoint.y(), m_cellSize.width(), m_cellSize.height());
}

std::optional<int> CEnlargeFrame::cellAtScreenPoint(const QPoint& screenPoint) const
{
    if (!containsScreenPoint(screenPoint))
        return std::nullopt;
    return cellAtGridPoint(m_grid->mapFromGlobal(screenPoint));
}

bool CEnlargeFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_grid)
        return QScrollArea::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    // A release arrives at the grid wherever the mouse went since the press: test where it is now.
    const std::optional<int> cell = cellAtScreenPoint(mouse->globalPosition().toPoint());
    if (!cell)
        return true;
    if (type == QEvent::MouseButtonPress)
        emit cellPressed(*cell);
    else if (type == QEvent::MouseButtonRelease)
        emit cellReleased(*cell);
    else
        emit cellDoubleClicked(*cell);
    return true;
}

} // namespace lumivane
