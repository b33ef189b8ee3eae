// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QRadioButton;

// Asked when no Table Description file can be read: create a new one with the wizard, or load
// an existing one. "Create New One" is checked at first; "OK" is the default button.
class NoDescriptionDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Choice
    {
        GaveUp,       // Cancel, Escape or the close box
        CreateNew,    // "Create New One" and OK
        LoadExisting, // "Load Existing One" and OK
    };

    explicit NoDescriptionDialog(QWidget *owner);

    // The choice made when the dialog ended.
    Choice choice() const;

    // Shows the dialog modally, centred on the screen, and returns the choice.
    static Choice ask(QWidget *owner);

private:
    void ok();

    QRadioButton *m_createNew;
};
