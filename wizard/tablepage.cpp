#include "wizard/tablepage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "odbc/connectionstring.h"
#include "wizard/bytes.h"
#include "wizard/descriptionwizard.h"
#include "wizard/dialogunits.h"

namespace {

// The item data that keeps a table's name as the driver gave it.
constexpr int NameRole = Qt::UserRole;

Message NoTableMessage()
{
    return Message{"Please select a table.", "Inform", MessageIcon::Information,
                   MessageButtons::Ok};
}

} // namespace

TablePage::TablePage(DescriptionWizard &wizard) : m_wizard(wizard)
{
    setMinimumSize(DialogUnits(this, 336, 178));

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("tableHeading"));
    m_heading->setFrameShape(QFrame::Box);
    m_heading->setTextFormat(Qt::PlainText);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("tableList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSortingEnabled(false);
    m_list->setColumnCount(0);
    m_list->setHeaderHidden(true);

    auto *selectedCaption = new QLabel(QStringLiteral("Table Selected"), this);
    selectedCaption->setAlignment(Qt::AlignCenter);
    m_selected = new QLabel(this);
    m_selected->setObjectName(QStringLiteral("selectedTable"));
    m_selected->setFrameShape(QFrame::Box);
    m_selected->setTextFormat(Qt::PlainText);

    auto *explanation =
        new QLabel(QStringLiteral("    Click on the table name to select. Quillon will populate "
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

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TablePage::selectionChanged);
    setFocusProxy(m_list);
}

void TablePage::activate()
{
    const std::string &connect = m_wizard.session().connectString();
    if (m_listedConnect == connect)
        return;
    m_listedConnect = connect;
    m_heading->setText(FromBytes(ConnectValue(connect, "DSN=") + " [Tables]"));
    const TableCatalog *tables = m_wizard.session().tables();
    fillList(tables != nullptr ? tables->rows() : std::vector<TableCatalogRow>());
}

void TablePage::fillList(const std::vector<TableCatalogRow> &tables)
{
    if (!m_columnsCreated) {
        m_list->setColumnCount(5);
        m_list->setHeaderLabels({QStringLiteral("Table Name"), QStringLiteral("Type"),
                                 QStringLiteral("Qualifier"), QStringLiteral("Owner"),
                                 QStringLiteral("Remarks")});
        for (int column = 0; column < 5; ++column)
            m_list->setColumnWidth(column, ColumnWidth);
        m_list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_list->header()->setStretchLastSection(false);
        m_list->setHeaderHidden(false);
        m_columnsCreated = true;
    } else {
        // The selection goes with the rows, and the chosen name with them.
        const QSignalBlocker blocker(m_list);
        m_list->clear();
        setSelectedTable({});
    }
    QList<QTreeWidgetItem *> items;
    items.reserve(static_cast<qsizetype>(tables.size()));
    for (const TableCatalogRow &table : tables) {
        auto *item = new QTreeWidgetItem(
            QStringList{FromBytes(table.name), FromBytes(table.type), FromBytes(table.qualifier),
                        FromBytes(table.owner), FromBytes(table.remarks)});
        item->setData(0, NameRole, QByteArray::fromStdString(table.name));
        items.append(item);
    }
    m_list->addTopLevelItems(items);
}

void TablePage::selectionChanged()
{
    // The topmost selected row, whatever the order in which the rows were selected.
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = m_list->topLevelItem(row);
        if (item->isSelected()) {
            setSelectedTable(item->data(0, NameRole).toByteArray().toStdString());
            return;
        }
    }
}

void TablePage::setSelectedTable(const std::string &name)
{
    m_selectedTable = name;
    m_selected->setText(FromBytes(name));
}

bool TablePage::validatePage()
{
    if (m_selectedTable.empty()) {
        m_wizard.messages().show(NoTableMessage());
        return false;
    }
    DataSourceSession &session = m_wizard.session();
    if (m_selectedTable == session.tableName() && session.columns() != nullptr)
        return true;
    session.setTableName(m_selectedTable);
    return m_wizard.runGuarded([&] { session.OpenColumnCatalog(m_selectedTable); });
}

void TablePage::copySelectedRows()
{
    QStringList lines;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = m_list->topLevelItem(row);
        if (!item->isSelected())
            continue;
        QStringList cells;
        for (int column = 0; column < m_list->columnCount(); ++column)
            cells << item->text(column);
        lines << cells.join(QLatin1Char('\t'));
    }
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}
