// SPDX-License-Identifier: MIT
#include "wizard/fieldpage.h"

#include <cstdlib>
#include <optional>

#include <QGridLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "fieldvalues/usertext.h"
#include "wizard/bytes.h"
#include "wizard/descriptionwizard.h"
#include "wizard/dialogunits.h"
#include "wizard/fieldeditdialog.h"

namespace {

struct ColumnSpec
{
    const char *heading;
    int width;
};

constexpr ColumnSpec TableColumns[] = {
    {QT_TRANSLATE_NOOP("FieldPage", "Field Name"), 100},
    {QT_TRANSLATE_NOOP("FieldPage", "Type"), 100},
    {QT_TRANSLATE_NOOP("FieldPage", "Length"), 50},
    {QT_TRANSLATE_NOOP("FieldPage", "Required"), 80},
    {QT_TRANSLATE_NOOP("FieldPage", "SQL Type"), 30},
};
constexpr ColumnSpec SelectedColumns[] = {
    {QT_TRANSLATE_NOOP("FieldPage", "Field Name"), 100},
    {QT_TRANSLATE_NOOP("FieldPage", "Title"), 80},
    {QT_TRANSLATE_NOOP("FieldPage", "Default Value"), 100},
    {QT_TRANSLATE_NOOP("FieldPage", "Type"), 100},
    {QT_TRANSLATE_NOOP("FieldPage", "Length"), 50},
    {QT_TRANSLATE_NOOP("FieldPage", "Required"), 80},
    {QT_TRANSLATE_NOOP("FieldPage", "SQL Type"), 30},
};

Message inform(const std::string &text)
{
    return Message{text, userText("FieldPage", "Inform"), MessageIcon::Information,
                   MessageButtons::Ok};
}

QString number(const std::optional<std::int32_t> &value)
{
    return value ? QString::number(*value) : QString();
}

QString nullability(const std::optional<std::int32_t> &nullable)
{
    if (nullable == 0)
        return QStringLiteral("Yes");
    if (nullable == 1)
        return QStringLiteral("No");
    return QStringLiteral("Unknown");
}

// A number column read as the list shows it; an empty cell (the driver gave NULL) is no number.
std::optional<long> readDecimal(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    return std::strtol(text.toLatin1().constData(), nullptr, 10);
}

// The driver's own bytes of a name or type, kept beside the text that the list shows: a name
// that is not in the locale's encoding shows as well as it can, and is saved as it came.
constexpr int BytesRole = Qt::UserRole;

void setDriverText(QTreeWidgetItem *item, int column, const std::string &bytes)
{
    item->setText(column, fromBytes(bytes));
    item->setData(column, BytesRole,
                  QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// A cell's bytes: the driver's where it gave them, otherwise the text typed in the wizard.
std::string cellBytes(const QTreeWidgetItem *item, int column)
{
    const QVariant bytes = item->data(column, BytesRole);
    return bytes.isValid() ? bytes.toByteArray().toStdString() : toBytes(item->text(column));
}

// Copies a cell with its bytes from one list's row to the other's.
void copyCell(const QTreeWidgetItem *from, int fromColumn, QTreeWidgetItem *to, int toColumn)
{
    to->setText(toColumn, from->text(fromColumn));
    const QVariant bytes = from->data(fromColumn, BytesRole);
    if (bytes.isValid())
        to->setData(toColumn, BytesRole, bytes);
}

// SQL_BINARY, SQL_VARBINARY and SQL_LONGVARBINARY: no text picked from a window fills them.
bool isBinary(const QString &sqlType)
{
    const long type = readDecimal(sqlType).value_or(0);
    return type == -2 || type == -3 || type == -4;
}

QTreeWidget *fieldList(const char *name, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSortingEnabled(false);
    list->header()->setStretchLastSection(false);
    return list;
}

template <std::size_t N> void setColumns(QTreeWidget *list, const ColumnSpec (&columns)[N])
{
    QStringList headings;
    for (const ColumnSpec &column : columns)
        headings << FieldPage::tr(column.heading);
    list->setColumnCount(static_cast<int>(N));
    list->setHeaderLabels(headings);
    for (std::size_t i = 0; i < N; ++i)
        list->setColumnWidth(static_cast<int>(i), columns[i].width);
}

// The title a field starts with: the first seven characters of its name, fewer when more would
// not fit the file's title in bytes.
QString firstTitle(const QString &name)
{
    QString title = name.left(FieldEditDialog::TitleLimit);
    while (toBytes(title).size() > static_cast<std::size_t>(FieldEditDialog::TitleLimit))
        title.chop(1);
    return title;
}

} // namespace

FieldPage::FieldPage(DescriptionWizard &wizard) : m_wizard(wizard)
{
    setMinimumSize(dialogUnits(this, 336, 178));
    setFinalPage(true);

    m_heading = new QLabel(tr("Range"), this);
    m_heading->setObjectName(QStringLiteral("fieldHeading"));
    m_heading->setTextFormat(Qt::PlainText);
    m_tableFields = fieldList("tableFields", this);
    m_selected = fieldList("selectedFields", this);
    setColumns(m_selected, SelectedColumns);

    m_select = new QPushButton(QStringLiteral(">"), this);
    m_selectAll = new QPushButton(QStringLiteral(">>"), this);
    m_unselect = new QPushButton(QStringLiteral("<"), this);
    m_unselectAll = new QPushButton(QStringLiteral("<<"), this);
    for (QPushButton *button : {m_select, m_selectAll, m_unselect, m_unselectAll})
        button->setAutoDefault(false);

    auto *buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_select);
    buttons->addWidget(m_selectAll);
    buttons->addWidget(m_unselect);
    buttons->addWidget(m_unselectAll);
    buttons->addStretch(1);

    auto *leftNote =
        new QLabel(tr("    Right arrow button to select. Left arrow button to unselect."), this);
    leftNote->setWordWrap(true);
    auto *rightNote = new QLabel(tr("    Double click on the field item to edit its "
                                    "title and/or its default value."),
                                 this);
    rightNote->setWordWrap(true);

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_heading, 0, 0);
    layout->addWidget(new QLabel(tr("Selected Field(s)"), this), 0, 2);
    layout->addWidget(m_tableFields, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->addWidget(m_selected, 1, 2);
    layout->addWidget(leftNote, 2, 0);
    layout->addWidget(rightNote, 2, 2);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);

    connect(m_select, &QPushButton::clicked, this, &FieldPage::selectFields);
    connect(m_selectAll, &QPushButton::clicked, this, &FieldPage::selectAllFields);
    connect(m_unselect, &QPushButton::clicked, this, &FieldPage::unselectFields);
    connect(m_unselectAll, &QPushButton::clicked, this, &FieldPage::unselectAllFields);
    connect(m_tableFields, &QTreeWidget::itemDoubleClicked, this, &FieldPage::selectFields);
    connect(m_selected, &QTreeWidget::itemDoubleClicked, this, &FieldPage::editSelectedField);
    // Return in a list does what a double click does there, and not Finish.
    m_tableFields->installEventFilter(this);
    m_selected->installEventFilter(this);
    setFocusProxy(m_tableFields);
    // Tab goes through the page as it is drawn, from left to right.
    setTabOrder(m_tableFields, m_select);
    setTabOrder(m_select, m_selectAll);
    setTabOrder(m_selectAll, m_unselect);
    setTabOrder(m_unselect, m_unselectAll);
    setTabOrder(m_unselectAll, m_selected);
}

bool FieldPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // With no row marked, Return acts on the row that has the keyboard.
            auto *list = static_cast<QTreeWidget *>(watched);
            if (list->selectedItems().isEmpty() && list->currentItem() != nullptr)
                list->currentItem()->setSelected(true);
            if (watched == m_tableFields)
                selectFields();
            else if (watched == m_selected)
                editSelectedField();
            return true;
        }
    }
    return QWizardPage::eventFilter(watched, event);
}

MessageAnswer FieldPage::tell(const Message &message)
{
    return m_wizard.messages().show(message);
}

void FieldPage::activate()
{
    const DataSourceSession &session = m_wizard.session();
    if (m_listedTable == session.table() && m_listedConnect == session.connectString())
        return;
    m_listedTable = session.table();
    m_listedConnect = session.connectString();
    // A table that is saved with its owner is shown with it.
    const bool qualified = session.tableReference() != m_listedTable.name;
    m_heading->setText(tr("Fields In Table %1")
                           .arg(fromBytes(qualified ? m_listedTable.owner + "." + m_listedTable.name
                                                    : m_listedTable.name)));
    const ColumnCatalog *columns = m_wizard.session().columns();
    fillLists(columns != nullptr && columns->isOpen() ? &columns->rows() : nullptr);
}

void FieldPage::fillLists(const std::vector<ColumnCatalogRow> *columns)
{
    if (!m_filledOnce) {
        setColumns(m_tableFields, TableColumns);
        m_filledOnce = true;
    }
    // A selection made for another table or data source goes, with its titles and defaults.
    m_tableFields->clear();
    m_selected->clear();
    m_sameButCase.clear();
    setSelectAvailable(true);

    if (columns == nullptr) {
        tell(inform(userText("FieldPage", "The driver of this data source does not list the fields "
                                          "of a table.\nNo field can be selected.")));
        return;
    }
    // Names that differ in letter case alone are one field: the first one listed. The others
    // are remembered, for Finish to say so where one of them is required.
    QHash<QString, std::string> listed;
    QList<QTreeWidgetItem *> items;
    for (const ColumnCatalogRow &row : *columns) {
        const QString folded = fromBytes(row.name).toCaseFolded();
        if (const auto first = listed.constFind(folded); first != listed.constEnd()) {
            if (row.nullable != 1 && row.typeName != "COUNTER")
                m_sameButCase.push_back({row.name, *first});
            continue;
        }
        listed.insert(folded, row.name);
        auto *item = new QTreeWidgetItem;
        setDriverText(item, TableName, row.name);
        setDriverText(item, TableType, row.typeName);
        item->setText(TableLength, number(row.length));
        item->setText(TableRequired, nullability(row.nullable));
        item->setText(TableSqlType, number(row.dataType));
        items.append(item);
    }
    m_tableFields->addTopLevelItems(items);
}

void FieldPage::setSelectAvailable(bool available)
{
    m_select->setEnabled(available);
    m_selectAll->setEnabled(available);
}

void FieldPage::moveToSelected(QTreeWidgetItem *item, int position)
{
    const std::string name = cellBytes(item, TableName);
    if (item->text(TableType) == QStringLiteral("COUNTER")) {
        tell(inform(
            userText("FieldPage", "A Field of type \"COUNTER\" will be automatically filled up.")));
        return;
    }
    if (isBinary(item->text(TableSqlType))) {
        tell(inform(userText("FieldPage",
                             "Quillon cannot fill up a field of type binary.\nSkip this field.")));
        return;
    }
    // The picker checks every value against the field's SQL type.
    if (readDecimal(item->text(TableSqlType)).value_or(0) == 0) {
        tell(inform(
            fillIn(userText("FieldPage", "The driver gives no SQL type for the field \"%1\".\n"
                                         "Quillon needs the type to check the field's values.\n"
                                         "Skip this field."),
                   {name})));
        return;
    }
    // The picker gives every field a value of at least one character.
    const std::optional<long> length = readDecimal(item->text(TableLength));
    if (!length) {
        tell(
            inform(fillIn(userText("FieldPage", "The driver gives no length for the field \"%1\".\n"
                                                "Quillon needs a length of at least 1 to fill up a "
                                                "field.\nSkip this field."),
                          {name})));
        return;
    }
    if (*length < 1) {
        tell(
            inform(fillIn(userText("FieldPage", "The field \"%1\" has a length of %2.\n"
                                                "Quillon needs a length of at least 1 to fill up a "
                                                "field.\nSkip this field."),
                          {name, std::to_string(*length)})));
        return;
    }
    auto *selected = new QTreeWidgetItem;
    copyCell(item, TableName, selected, SelectedName);
    selected->setText(SelectedTitle, firstTitle(item->text(TableName)));
    copyCell(item, TableType, selected, SelectedType);
    copyCell(item, TableLength, selected, SelectedLength);
    copyCell(item, TableRequired, selected, SelectedRequired);
    copyCell(item, TableSqlType, selected, SelectedSqlType);
    m_selected->insertTopLevelItem(position, selected);
    delete item;
}

void FieldPage::moveToTable(QTreeWidgetItem *item, int position)
{
    auto *field = new QTreeWidgetItem;
    copyCell(item, SelectedName, field, TableName);
    copyCell(item, SelectedType, field, TableType);
    copyCell(item, SelectedLength, field, TableLength);
    copyCell(item, SelectedRequired, field, TableRequired);
    copyCell(item, SelectedSqlType, field, TableSqlType);
    m_tableFields->insertTopLevelItem(position, field);
    delete item;
}

void FieldPage::moveToSelectedFrom(bool markedOnly)
{
    if (m_selected->topLevelItemCount() >= MaxFields) {
        tell(inform(fillIn(
            userText("FieldPage", "You have selected %1 fields.\nNo more field can be added."),
            {std::to_string(MaxFields)})));
        return;
    }
    // Walking from the last row and inserting each at the same place keeps the left list's order.
    const int position = m_selected->topLevelItemCount();
    for (int row = m_tableFields->topLevelItemCount() - 1; row >= 0; --row) {
        QTreeWidgetItem *item = m_tableFields->topLevelItem(row);
        if (markedOnly && !item->isSelected())
            continue;
        moveToSelected(item, position);
        if (m_selected->topLevelItemCount() >= MaxFields)
            break;
    }
    if (m_selected->topLevelItemCount() >= MaxFields)
        setSelectAvailable(false);
}

void FieldPage::selectFields()
{
    moveToSelectedFrom(true);
}

void FieldPage::selectAllFields()
{
    moveToSelectedFrom(false);
}

void FieldPage::unselectFields()
{
    const int position = m_tableFields->topLevelItemCount();
    for (int row = m_selected->topLevelItemCount() - 1; row >= 0; --row) {
        QTreeWidgetItem *item = m_selected->topLevelItem(row);
        if (item->isSelected())
            moveToTable(item, position);
    }
    if (m_selected->topLevelItemCount() < MaxFields)
        setSelectAvailable(true);
}

void FieldPage::unselectAllFields()
{
    const int position = m_tableFields->topLevelItemCount();
    for (int row = m_selected->topLevelItemCount() - 1; row >= 0; --row)
        moveToTable(m_selected->topLevelItem(row), position);
    setSelectAvailable(true);
}

bool FieldPage::checkLeftOverFields()
{
    for (int row = 0; row < m_tableFields->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = m_tableFields->topLevelItem(row);
        if (item->text(TableType) == QStringLiteral("COUNTER") ||
            item->text(TableRequired) == QStringLiteral("No"))
            continue;
        const std::string name = cellBytes(item, TableName);
        const std::optional<long> length = readDecimal(item->text(TableLength));
        if (isBinary(item->text(TableSqlType)))
            tell(inform(fillIn(userText("FieldPage",
                                        "The field \"%1\" is required has type of \"binary\".\n"
                                        "Quillon can NOT work with this table\n\n[Solution]: Go to "
                                        "MS Access, change this field to another type\nor make it "
                                        "not required."),
                               {name})));
        // Such fields cannot be selected: asking for them would lead nowhere.
        else if (readDecimal(item->text(TableSqlType)).value_or(0) == 0)
            tell(inform(fillIn(userText("FieldPage",
                                        "The field \"%1\" is required and has no SQL type that "
                                        "Quillon can use.\nQuillon can NOT work with this table\n\n"
                                        "[Solution]: give this field a type\nor make it not "
                                        "required."),
                               {name})));
        else if (!length || *length < 1)
            tell(inform(fillIn(userText("FieldPage",
                                        "The field \"%1\" is required and has no length that "
                                        "Quillon can use.\nQuillon can NOT work with this table\n\n"
                                        "[Solution]: change this field to a type with a length\nor "
                                        "make it not required."),
                               {name})));
        else
            tell(inform(
                fillIn(userText("FieldPage", "The field \"%1\" is required.\nPlease select it."),
                       {name})));
        return true;
    }
    // A required field whose name differs from a listed one in case alone can be neither listed
    // nor left out of a row.
    if (!m_sameButCase.empty()) {
        const auto &[hidden, listed] = m_sameButCase.front();
        tell(inform(fillIn(userText("FieldPage",
                                    "The field \"%1\" is required, and its name differs from the "
                                    "field \"%2\" in case alone: Quillon lists only \"%2\".\n"
                                    "Quillon can NOT work with this table\n\n[Solution]: rename "
                                    "one of the two fields\nor make \"%1\" not required."),
                           {hidden, listed})));
        return true;
    }
    return false;
}

void FieldPage::editSelectedField()
{
    QTreeWidgetItem *item = nullptr;
    for (int row = 0; row < m_selected->topLevelItemCount() && item == nullptr; ++row) {
        if (m_selected->topLevelItem(row)->isSelected())
            item = m_selected->topLevelItem(row);
    }
    if (item == nullptr)
        return;
    const FieldRow field = rowOf(item);
    FieldEditDialog dialog(field, m_wizard.messages(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    item->setText(SelectedTitle, fromBytes(dialog.title()));
    item->setText(SelectedDefault, fromBytes(dialog.defaultValue()));
}

std::vector<FieldRow> FieldPage::selectedRows() const
{
    std::vector<FieldRow> rows;
    for (int row = 0; row < m_selected->topLevelItemCount(); ++row)
        rows.push_back(rowOf(m_selected->topLevelItem(row)));
    return rows;
}

FieldRow FieldPage::rowOf(const QTreeWidgetItem *item)
{
    return FieldRow{cellBytes(item, SelectedName),    cellBytes(item, SelectedTitle),
                    cellBytes(item, SelectedDefault), cellBytes(item, SelectedType),
                    cellBytes(item, SelectedLength),  cellBytes(item, SelectedRequired),
                    cellBytes(item, SelectedSqlType)};
}

bool FieldPage::validatePage()
{
    return finishWizard();
}

bool FieldPage::finishWizard()
{
    if (m_selected->topLevelItemCount() == 0) {
        tell(inform(userText("FieldPage", "Please select fields to be filled up")));
        return false;
    }
    if (checkLeftOverFields())
        return false;
    return m_wizard.saveDescription(selectedRows());
}
