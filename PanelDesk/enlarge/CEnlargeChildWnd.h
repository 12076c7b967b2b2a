#pragma once

#include "EnlargeLayout.h"

#include <QColor>
#include <QString>
#include <QWidget>

namespace lumivane {

// How one cell of the wall is drawn: its fill by state, the monitor's name and a small corner note.
struct CellLook
{
    QColor fill;
    QString label;  // the monitor's name, empty for an empty cell
    QString corner; // the cell's number; with the group number when grouped ("3 · G2")
    bool selected = false;
    bool turned = false; // portrait: the name runs along the cell's long side, as the turned picture does
};

// The ten colours of executed groups, by colour index (group number mod 10). Light tones, told apart from
// the placed (light cyan), pending (yellow) and selected colours, so that black text stays readable.
QColor groupColour(int colourIndex);

// The look of cell `index`: white when empty, light cyan with a monitor, yellow while in the pending
// rectangle, the group's colour when grouped; the selected cell grey when empty, blue-grey with a monitor.
// A selected cell of a group or of the pending rectangle keeps its colour, so that the group stays whole
// to the eye; the heavy frame that every selected cell gets marks it.
CellLook cellLook(const EnlargeLayout& layout, int index);

// One cell of the layout view. It only draws; the frame around it takes the mouse.
class CEnlargeChildWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CEnlargeChildWnd(int index, QWidget* parent = nullptr);

    int index() const { return m_index; }
    void setLook(const CellLook& look);
    const CellLook& look() const { return m_look; }
    // The label as it fits on one line, cut with an ellipsis.
    QString shownLabel() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect labelRect() const;

    int m_index;
    CellLook m_look;
};

} // namespace lumivane
