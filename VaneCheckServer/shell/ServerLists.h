#pragma once

#include <QStringList>
#include <QTreeWidget>

#include <string>
#include <utility>
#include <vector>

namespace lumivane {

// Widths in the dialog units of the server's windows (a quarter of the average character width).
int dialogUnits(const QWidget* widget, int units);

// A flat list with grid-like rows, whole-row selection and tips for cut texts: the look of every list in
// the server's windows. `widths` in dialog units; the last column stretches.
QTreeWidget* makeServerList(const QStringList& headers, const std::vector<int>& widths, QWidget* parent);

// Appends (header, data) or (name, message) lines.
void appendTextLines(QTreeWidget* list, const std::vector<std::pair<std::string, std::string>>& lines);

} // namespace lumivane
