// SPDX-License-Identifier: MIT
#include "wizard/tablelistmodel.h"

#include "wizard/bytes.h"

void TableListModel::setRows(Rows rows)
{
    beginResetModel();
    m_rows = rows ? std::move(rows) : std::make_shared<const std::vector<TableCatalogRow>>();
    m_hasColumns = true;
    endResetModel();
}

int TableListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows->size());
}

int TableListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_hasColumns ? 0 : ColumnCount;
}

QVariant TableListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const TableCatalogRow &table = tableAt(index.row());
    switch (index.column()) {
    case 0:
        return fromBytes(table.name);
    case 1:
        return fromBytes(table.type);
    case 2:
        return fromBytes(table.qualifier);
    case 3:
        return fromBytes(table.owner);
    case 4:
        return fromBytes(table.remarks);
    default:
        return {};
    }
}

QVariant TableListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (role != Qt::DisplayRole)
        return {};
    static const char *const headings[ColumnCount] = {"Table Name", "Type", "Qualifier", "Owner",
                                                      "Remarks"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(headings[section])
                                                 : QVariant();
}
