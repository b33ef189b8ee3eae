// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <QDialog>

#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// The field dialog: the title and the default value of one selected field, with its name, its type
// and a note on whether a default is recommended. A date or timestamp field may take the actual
// date and time of the moment the picker fills the table instead of a fixed default.
class FieldEditDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *Caption =
        QT_TRANSLATE_NOOP("FieldEditDialog", "Edit Field Title & Default Value");
    // The default value of a date or timestamp field that the picker fills with the time of
    // the insert.
    static constexpr const char *ActualDateTime = "Actual Date/Time";
    static constexpr int TitleLimit = 7;

    // `field` holds the seven texts of the selected list's row. Refusals go to `sink`.
    FieldEditDialog(const FieldRow &field, MessageSink &sink, QWidget *parent = nullptr);

    // OK: refuses an empty title and a default value that the field cannot take.
    void accept() override;

    // The title and the default value as the user left them.
    std::string title() const;
    std::string defaultValue() const;

    QLineEdit *titleEdit() const { return m_title; }
    QLineEdit *defaultEdit() const { return m_default; }
    QCheckBox *actualDateTimeBox() const { return m_actual; }
    QLabel *noteLabel() const { return m_note; }
    QLabel *typeLabel() const { return m_type; }
    QLabel *nameLabel() const { return m_name; }

private:
    void actualDateTimeClicked(bool ticked);

    MessageSink &m_sink;
    int m_sqlType = 0;
    int m_length = 0;
    QLabel *m_name = nullptr;
    QLineEdit *m_title = nullptr;
    QLabel *m_type = nullptr;
    QLineEdit *m_default = nullptr;
    QCheckBox *m_actual = nullptr;
    QLabel *m_note = nullptr;
};
