// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QWizardPage>

#include "odbc/catalog.h"

class DescriptionWizard;
class QLabel;
class QTreeView;
class TableListModel;

// The wizard's second page: the tables of the connected data source, from its table catalogue; the
// user picks the one that the picker will fill. Next keeps the choice and opens its column
// catalogue.
class TablePage : public QWizardPage
{
    Q_OBJECT

public:
    static constexpr const char *Caption =
        QT_TRANSLATE_NOOP("TablePage", "ormund: Select A Table To Be Filled Up With Quillon");
    static constexpr int ColumnWidth = 100;

    explicit TablePage(DescriptionWizard &wizard);

    // Called each time the page is shown: fills the list when the data source changed since
    // the list was last filled, and otherwise leaves the list and the choice as they are.
    void activate();
    // Replaces the list's rows with the catalogue's, in the catalogue's order.
    void fillList(std::shared_ptr<const std::vector<TableCatalogRow>> tables);
    bool validatePage() override;

    // The list of tables, the heading above it and the label with the chosen table.
    QTreeView *tableList() const { return m_list; }
    TableListModel *tableModel() const { return m_model; }
    QLabel *headingLabel() const { return m_heading; }
    QLabel *selectedTableLabel() const { return m_selected; }
    // The chosen table as the driver spelled it.
    const std::string &selectedTable() const { return m_selectedTable.name; }

private:
    void selectionChanged();
    void setSelectedTable(const TableCatalogRow &table);
    void copySelectedRows();

    DescriptionWizard &m_wizard;
    TableListModel *m_model = nullptr;
    QTreeView *m_list = nullptr;
    QLabel *m_heading = nullptr;
    QLabel *m_selected = nullptr;
    std::string m_listedConnect;
    TableCatalogRow m_selectedTable;
};
