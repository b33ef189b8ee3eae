// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "fieldvalues/tabledescription.h"
#include "picker/capture/pickedrow.h"
#include "picker/dialogs/valueedit.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The value editor: one field's value of the row being picked, whether it is valid and whether
// the field is required; the user types, clears or recovers the value.
//
// Opening checks the stored value (which keeps the check's normal form) and puts it, all
// selected, into the edit. "OK" stores the cleaned text when it differs from the value (the old
// value becomes the previous one, the row unsaved, and `fillState` hears when the field becomes
// filled or empty); "Cancel" and Escape change nothing; "Clear" empties the edit and "Recover"
// puts the previous value into it, both leaving the editor open. The editor always ends with 1.
//
// The main window opens it modally:
//   ValueEditor editor(mainWindow, description, row, field, fillState);
//   editor.placeBesideButton(mainWindow->frameGeometry(), clientTopLeft, buttonRect, orientation);
//   editor.exec();
class ValueEditor : public QDialog
{
    Q_OBJECT

public:
    ValueEditor(QWidget *owner, const TableDescription &description, PickedRow &row, int field,
                FillStateSink fillState);

    // Moves the editor beside the field's button (see valueEditorPosition), keeping its size.
    // All in global coordinates: the main window's frame, the top left of its client area and
    // the field's button. `orientation` is 1 for buttons in a row, 0 for a column. The desktop
    // is the work area of the screen that shows the button.
    void placeBesideButton(const QRect &window, const QPoint &clientTopLeft, const QRect &button,
                           int orientation);

    int field() const { return m_field; }
    // Whether "OK" changed the value.
    bool changed() const { return m_changed; }

public slots:
    void reject() override;

private:
    void ok();
    void clear();
    void recover();

    FieldDescription m_description;
    PickedRow &m_row;
    int m_field;
    FillStateSink m_fillState;
    bool m_changed = false;
    QLineEdit *m_edit;
    QLabel *m_validity;
    QLabel *m_required;
    QPushButton *m_recover;
};
