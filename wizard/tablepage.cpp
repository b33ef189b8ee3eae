// SPDX-License-Identifier: MIT
#include "wizard/tablepage.h"

#include "fieldvalues/usertext.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

#include "odbc/connectionstring.h"
#include "wizard/bytes.h"
#include "wizard/descriptionwizard.h"
#include "wizard/dialogunits.h"
#include "wizard/tablelistmodel.h"

namespace {

Message noTableMessage()
{
    return Message{userText("TablePage", "Please select a table."), userText("TablePage", "Inform"),
                   MessageIcon::Information, MessageButtons::Ok};
}

} // namespace

TablePage::TablePage(DescriptionWizard &wizard) : m_wizard(wizard)
{
    setMinimumSize(dialogUnits(this, 336, 178));

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("tableHeading"));
    m_heading->setFrameShape(QFrame::Box);
    m_heading->setTextFormat(Qt::PlainText);

    m_model = new TableListModel(this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("tableList"));
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSortingEnabled(false);
    m_list->header()->setStretchLastSection(false);

    auto *selectedCaption = new QLabel(tr("Table Selected"), this);
    selectedCaption->setAlignment(Qt::AlignCenter);
    m_selected = new QLabel(this);
    m_selected->setObjectName(QStringLiteral("selectedTable"));
    m_selected->setFrameShape(QFrame::Box);
    m_selected->setTextFormat(Qt::PlainText);

    auto *explanation =
        new QLabel(tr("    Click on the table name to select. Quillon will populate "
                      "(fill up) the selected table."),
                   this);
    explanation->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(selectedCaption);
    layout->addWidget(m_selected);
    layout->addWidget(explanation);

    // Ctrl+C in the list copies the selected rows, a line each with the columns between tabs.
    auto *copy = new QAction(m_list);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    m_list->addAction(copy);
    connect(copy, &QAction::triggered, this, &TablePage::copySelectedRows);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TablePage::selectionChanged);
    setFocusProxy(m_list);
}

void TablePage::activate()
{
    const std::string &connect = m_wizard.session().connectString();
    if (m_listedConnect == connect)
        return;
    m_listedConnect = connect;
    m_heading->setText(tr("%1 [Tables]").arg(fromBytes(connectValue(connect, "DSN="))));
    const TableCatalog *tables = m_wizard.session().tables();
    fillList(tables != nullptr ? tables->sharedRows() : nullptr);
}

void TablePage::fillList(std::shared_ptr<const std::vector<TableCatalogRow>> tables)
{
    const bool firstFill = m_model->columnCount() == 0;
    {
        // The selection goes with the rows, and the chosen name with them.
        const QSignalBlocker blocker(m_list->selectionModel());
        m_model->setRows(std::move(tables));
    }
    if (firstFill) {
        for (int column = 0; column < TableListModel::ColumnCount; ++column)
            m_list->setColumnWidth(column, ColumnWidth);
    } else {
        setSelectedTable({});
    }
}

void TablePage::selectionChanged()
{
    // The topmost selected row, whatever the order in which the rows were selected.
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    int topmost = rows.front().row();
    for (const QModelIndex &index : rows)
        topmost = std::min(topmost, index.row());
    setSelectedTable(m_model->tableAt(topmost));
}

void TablePage::setSelectedTable(const TableCatalogRow &table)
{
    // The row, not only its name: tables of one name in several owners are different tables.
    m_selectedTable = table;
    m_selected->setText(fromBytes(table.name));
}

bool TablePage::validatePage()
{
    if (m_selectedTable.name.empty()) {
        m_wizard.messages().show(noTableMessage());
        return false;
    }
    DataSourceSession &session = m_wizard.session();
    if (m_selectedTable == session.table() && session.columns() != nullptr)
        return true;
    return m_wizard.runGuarded([&] { session.openColumnCatalog(m_selectedTable); });
}

void TablePage::copySelectedRows()
{
    QList<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QString text;
    for (int row : rows) {
        for (int column = 0; column < TableListModel::ColumnCount; ++column) {
            if (column > 0)
                text += QLatin1Char('\t');
            text += m_model->index(row, column).data().toString();
        }
        text += QLatin1Char('\n');
    }
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}
