// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <vector>

#include <QAbstractTableModel>

#include "odbc/catalog.h"

// The rows of the table list: the table catalogue's rows, shown in five columns once the list
// was filled for the first time. The texts are made when the view asks for them, so a list of
// thousands of tables fills at once.
class TableListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = 5;

    using QAbstractTableModel::QAbstractTableModel;

    using Rows = std::shared_ptr<const std::vector<TableCatalogRow>>;

    // Replaces all rows; the first call also creates the columns.
    void setRows(Rows rows);
    const TableCatalogRow &tableAt(int row) const
    {
        return (*m_rows)[static_cast<std::size_t>(row)];
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    Rows m_rows = std::make_shared<const std::vector<TableCatalogRow>>();
    bool m_hasColumns = false;
};
