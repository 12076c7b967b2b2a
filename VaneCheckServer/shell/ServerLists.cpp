#include "ServerLists.h"

#include <QHeaderView>

namespace lumivane {

int dialogUnits(const QWidget* widget, int units)
{
    return units * widget->fontMetrics().averageCharWidth() / 4;
}

QTreeWidget* makeServerList(const QStringList& headers, const std::vector<int>& widths, QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setHeaderLabels(headers);
    list->setTextElideMode(Qt::ElideRight);
    for (size_t column = 0; column < widths.size(); ++column)
        list->setColumnWidth(static_cast<int>(column), dialogUnits(parent, widths[column]));
    list->header()->setStretchLastSection(true);
    return list;
}

void appendTextLines(QTreeWidget* list, const std::vector<std::pair<std::string, std::string>>& lines)
{
    for (const auto& [first, second] : lines) {
        auto* item = new QTreeWidgetItem(list, {QString::fromStdString(first), QString::fromStdString(second)});
        item->setToolTip(1, item->text(1)); // the whole text of a cut line
    }
}

} // namespace lumivane
