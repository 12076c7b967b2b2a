#pragma once

#include "EnlargeLayout.h"

#include <QScrollArea>

#include <optional>
#include <vector>

namespace lumivane {

class CEnlargeChildWnd;

// The layout view: one CEnlargeChildWnd per cell, drawn as the wall stands (monitors wide in landscape,
// tall in portrait). Up to five cells show in each direction; a larger wall scrolls. Presses, releases and
// double clicks on the grid come out as cell indexes, hit-tested with the layout's own rule.
class CEnlargeFrame : public QScrollArea
{
    Q_OBJECT
public:
    static constexpr int kShownCells = 5;

    explicit CEnlargeFrame(QWidget* parent = nullptr);

    // Makes the cells for the layout's grid and orientation.
    void rebuild(const EnlargeLayout& layout);
    // Colours and labels from the layout.
    void refresh(const EnlargeLayout& layout);

    // Whether a screen point lies inside the view, and the cell under it (none between or beside cells).
    bool containsScreenPoint(const QPoint& screenPoint) const;
    std::optional<int> cellAtScreenPoint(const QPoint& screenPoint) const;
    CEnlargeChildWnd* cellWindow(int index) const;
    QSize cellSize() const { return m_cellSize; }

    QSize sizeHint() const override;

signals:
    void cellPressed(int index);
    void cellReleased(int index);
    void cellDoubleClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize cellSizeFor(const EnlargeLayout& layout) const;
    std::optional<int> cellAtGridPoint(const QPoint& gridPoint) const;

    QWidget* m_grid;
    std::vector<CEnlargeChildWnd*> m_cells;
    QSize m_cellSize;
    const EnlargeLayout* m_layout = nullptr; // the layout last built (its owner outlives the view), for hit-testing
};

} // namespace lumivane
