#include "ConfigPageWidgets.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace lumivane {

QTableWidget* makeSettingList(QWidget* parent, const char* objectName, const QStringList& headers)
{
    auto* list = new QTableWidget(0, int(headers.size()), parent);
    list->setObjectName(objectName);
    list->setHorizontalHeaderLabels(headers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->horizontalHeader()->setSectionsMovable(false);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setStretchLastSection(false);
    return list;
}

void fillSettingList(QTableWidget* list, const std::vector<std::vector<std::string>>& rows)
{
    list->clearContents();
    list->setRowCount(int(rows.size()));
    for (size_t row = 0; row < rows.size(); ++row)
        for (size_t column = 0; column < rows[row].size(); ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[row][column]));
            if (column > 0)
                item->setTextAlignment(Qt::AlignCenter);
            list->setItem(int(row), int(column), item);
        }
}

int selectedRow(const QTableWidget* list)
{
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void selectRow(QTableWidget* list, int row)
{
    if (row >= 0 && row < list->rowCount())
        list->selectRow(row);
}

QPushButton* makePageButton(QWidget* parent, const QString& text, const char* objectName)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

} // namespace lumivane
