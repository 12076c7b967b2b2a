#pragma once

#include <QStringList>

#include <string>
#include <vector>

class QPushButton;
class QTableWidget;
class QWidget;

namespace lumivane {

// The pieces the sheet's list pages share.

// A list view with full-row single selection, grid lines, no row numbers and these column headers.
QTableWidget* makeSettingList(QWidget* parent, const char* objectName, const QStringList& headers);
// Replaces the rows of `list` with these texts, one row per entry.
void fillSettingList(QTableWidget* list, const std::vector<std::vector<std::string>>& rows);
// The selected row's position, or -1.
int selectedRow(const QTableWidget* list);
void selectRow(QTableWidget* list, int row);

QPushButton* makePageButton(QWidget* parent, const QString& text, const char* objectName);

} // namespace lumivane
