// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "fieldvalues/tabledescription.h"
#include "picker/capture/pickedrow.h"

class QTreeWidget;
class QTreeWidgetItem;

// The picked data view ("Quilloned"): every field of the row with its value and whether the
// value is valid. Opening checks each stored value, which keeps the check's normal form, while
// the list shows the values as they were before. The list is not refreshed while the view is
// open.
//
// "Close" ends the view with 1, Escape or the close box with 0. A double click on a row (or
// Return on the selected row) ends it with 1 and names that row's field in fieldToEdit(), so
// that the main window opens the value editor once the view has gone:
//   PickedDataView view(mainWindow, description, row);
//   view.move(clientTopLeft); // the top left of the main window's client area
//   view.exec();
//   if (view.fieldToEdit() >= 0) ... open the value editor of that field
class PickedDataView : public QDialog
{
    Q_OBJECT

public:
    PickedDataView(QWidget *owner, const TableDescription &description, PickedRow &row);

    // The field whose value editor opens next, -1 for none.
    int fieldToEdit() const { return m_fieldToEdit; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void edit(QTreeWidgetItem *item);

    QTreeWidget *m_list;
    int m_fieldToEdit = -1;
};
