// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <QWizardPage>

#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"
#include "odbc/catalog.h"

class DescriptionWizard;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The wizard's last page: the fields of the chosen table on the left, the ordered selection of at
// most 30 fields that the description will hold on the right, each with its title and default
// value. Finish saves the description and offers to start the picker on it.
class FieldPage : public QWizardPage
{
    Q_OBJECT

public:
    static constexpr const char *Caption = QT_TRANSLATE_NOOP(
        "FieldPage", "ormund: Select Fields From A Table To Be Filled Up With Quillon");

    // Columns of the table-fields list.
    enum TableColumn
    {
        TableName,
        TableType,
        TableLength,
        TableRequired,
        TableSqlType,
        TableColumnCount
    };
    // Columns of the selected list, in the order in which a field is saved.
    enum SelectedColumn
    {
        SelectedName,
        SelectedTitle,
        SelectedDefault,
        SelectedType,
        SelectedLength,
        SelectedRequired,
        SelectedSqlType,
        SelectedColumnCount
    };

    explicit FieldPage(DescriptionWizard &wizard);

    // Called each time the page is shown: fills both lists again when the data source or the
    // table changed since they were filled, and otherwise keeps them with titles and defaults.
    void activate();
    // Empties both lists and fills the left one with the catalogue's columns, in its order, once
    // each whatever the letter case; no catalogue (the driver lists no columns) is said so.
    void fillLists(const std::vector<ColumnCatalogRow> *columns);

    // ">" and a double click in the left list: the marked fields of the left list.
    void selectFields();
    // ">>": every field of the left list.
    void selectAllFields();
    // "<": the marked fields of the selected list go back.
    void unselectFields();
    // "<<": every selected field goes back.
    void unselectAllFields();
    // True, after saying which, when a required field is left in the left list.
    bool checkLeftOverFields();
    // A double click in the selected list: the title and default of its topmost marked field.
    void editSelectedField();

    // Finish: checks the selection, then the wizard saves it. False keeps the wizard on this
    // page.
    bool finishWizard();
    bool validatePage() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // The selected list's rows, top to bottom, as they are saved.
    std::vector<FieldRow> selectedRows() const;

    QTreeWidget *tableFieldsList() const { return m_tableFields; }
    QTreeWidget *selectedList() const { return m_selected; }
    QLabel *headingLabel() const { return m_heading; }
    QPushButton *selectButton() const { return m_select; }
    QPushButton *selectAllButton() const { return m_selectAll; }
    QPushButton *unselectButton() const { return m_unselect; }
    QPushButton *unselectAllButton() const { return m_unselectAll; }

private:
    static FieldRow rowOf(const QTreeWidgetItem *item);
    void moveToSelectedFrom(bool markedOnly);
    void moveToSelected(QTreeWidgetItem *item, int position);
    void moveToTable(QTreeWidgetItem *item, int position);
    void setSelectAvailable(bool available);
    MessageAnswer tell(const Message &message);

    DescriptionWizard &m_wizard;
    QLabel *m_heading = nullptr;
    QTreeWidget *m_tableFields = nullptr;
    QTreeWidget *m_selected = nullptr;
    QPushButton *m_select = nullptr;
    QPushButton *m_selectAll = nullptr;
    QPushButton *m_unselect = nullptr;
    QPushButton *m_unselectAll = nullptr;
    bool m_filledOnce = false;
    std::string m_listedConnect;
    TableCatalogRow m_listedTable;
    // Required fields left out of the list because a listed name differs from theirs in case
    // alone: their names, and the listed one's.
    std::vector<std::pair<std::string, std::string>> m_sameButCase;
};
