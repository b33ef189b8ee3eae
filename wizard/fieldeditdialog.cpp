// SPDX-License-Identifier: MIT
#include "wizard/fieldeditdialog.h"

#include <cstdlib>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/usertext.h"
#include "wizard/bytes.h"
#include "wizard/dialogunits.h"

namespace {

constexpr const char *OptionalNote = QT_TRANSLATE_NOOP(
    "FieldEditDialog", "Note: Default value is optional for this field. You may leave it blank");
constexpr const char *RequiredNote = QT_TRANSLATE_NOOP(
    "FieldEditDialog", "Note: This is a required field. Default value is recommended.");

int readDecimal(const std::string &text)
{
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

// Date and timestamp fields may be filled with the time of the insert.
bool takesActualDateTime(int sqlType)
{
    const FieldClass kind = classOfSqlType(sqlType);
    return kind == FieldClass::Date || kind == FieldClass::Timestamp;
}

// Keeps a text within the bytes that the description file holds for it: a title of seven
// characters has fewer when they take more than a byte each.
class ByteLimitValidator : public QValidator
{
public:
    ByteLimitValidator(std::size_t limit, QObject *parent) : QValidator(parent), m_limit(limit) {}

    State validate(QString &input, int &) const override
    {
        return toBytes(input).size() <= m_limit ? Acceptable : Invalid;
    }

private:
    std::size_t m_limit;
};

QLabel *value(const std::string &text, QWidget *parent)
{
    auto *label = new QLabel(fromBytes(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

FieldEditDialog::FieldEditDialog(const FieldRow &field, MessageSink &sink, QWidget *parent)
    : QDialog(parent), m_sink(sink), m_sqlType(readDecimal(field.sqlType)),
      m_length(readDecimal(field.length))
{
    setWindowTitle(tr(Caption));

    auto *nameBox = new QGroupBox(this);
    auto *nameGrid = new QGridLayout(nameBox);
    m_name = value(field.name, nameBox);
    m_name->setObjectName(QStringLiteral("fieldName"));
    m_title = new QLineEdit(fromBytes(field.title), nameBox);
    m_title->setObjectName(QStringLiteral("fieldTitle"));
    m_title->setMaxLength(TitleLimit);
    m_title->setValidator(new ByteLimitValidator(TitleLimit, m_title));
    nameGrid->addWidget(new QLabel(tr("Field Name:"), nameBox), 0, 0);
    nameGrid->addWidget(m_name, 0, 1, 1, 2);
    nameGrid->addWidget(new QLabel(tr("Field Title:"), nameBox), 1, 0);
    nameGrid->addWidget(m_title, 1, 1);
    nameGrid->addWidget(new QLabel(tr("(Limited 7 characters)"), nameBox), 1, 2);

    auto *typeBox = new QGroupBox(this);
    auto *typeGrid = new QGridLayout(typeBox);
    // An empty hint leaves the blank after the type name.
    m_type = value(field.typeName + " " + fieldHint(m_sqlType, m_length), typeBox);
    m_type->setObjectName(QStringLiteral("fieldType"));
    m_type->setAlignment(Qt::AlignCenter);
    m_default = new QLineEdit(fromBytes(field.defaultValue), typeBox);
    m_default->setObjectName(QStringLiteral("fieldDefault"));
    m_default->setValidator(new ByteLimitValidator(MaxDefaultValueLength, m_default));
    m_actual = new QCheckBox(tr("Use the actual Date / Time (When the table is being filled up)"),
                             typeBox);
    m_actual->setObjectName(QStringLiteral("actualDateTime"));
    typeGrid->addWidget(new QLabel(tr("Field Type:"), typeBox), 0, 0);
    typeGrid->addWidget(m_type, 0, 1);
    typeGrid->addWidget(new QLabel(tr("Field Default Value:"), typeBox), 1, 0);
    typeGrid->addWidget(m_default, 1, 1);
    typeGrid->addWidget(m_actual, 2, 0, 1, 2);

    m_note = value(tr(field.required == "No" ? OptionalNote : RequiredNote).toStdString(), this);
    m_note->setObjectName(QStringLiteral("fieldNote"));
    m_note->setAlignment(Qt::AlignCenter);
    m_note->setFrameShape(QFrame::Box);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FieldEditDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FieldEditDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(nameBox);
    layout->addWidget(typeBox);
    layout->addWidget(m_note);
    layout->addWidget(buttons);

    if (!takesActualDateTime(m_sqlType)) {
        m_actual->hide();
    } else if (field.defaultValue == ActualDateTime) {
        m_actual->setChecked(true);
        m_default->setEnabled(false);
    }
    connect(m_actual, &QCheckBox::clicked, this, &FieldEditDialog::actualDateTimeClicked);
    m_title->setFocus();
    // The dialog's size in dialog units, or what its texts need where that is more (German, a
    // larger font): a minimum of our own would otherwise stand in for the layout's.
    setMinimumSize(dialogUnits(this, 261, 135).expandedTo(layout->totalMinimumSize()));
}

void FieldEditDialog::actualDateTimeClicked(bool ticked)
{
    m_default->setEnabled(!ticked);
    m_default->setText(ticked ? QString::fromUtf8(ActualDateTime) : QString());
}

std::string FieldEditDialog::title() const
{
    return toBytes(m_title->text());
}

std::string FieldEditDialog::defaultValue() const
{
    return toBytes(m_default->text());
}

void FieldEditDialog::accept()
{
    if (m_title->text().isEmpty()) {
        m_sink.show(Message{userText("FieldEditDialog", "Field Title cannot be empty."),
                            userText("FieldEditDialog", "Error"), MessageIcon::None,
                            MessageButtons::Ok});
        return;
    }
    if (!m_actual->isChecked() && !m_default->text().isEmpty()) {
        // The check may rewrite its copy into a normal form; the field keeps what was typed.
        std::string value = defaultValue();
        std::string error;
        if (!checkFieldValue(value, m_sqlType, m_length, error, CheckMode::Wizard)) {
            m_sink.show(Message{error, userText("FieldEditDialog", "Default Value Not Valid."),
                                MessageIcon::None, MessageButtons::Ok});
            return;
        }
    }
    QDialog::accept();
}
