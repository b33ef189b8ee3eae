// SPDX-License-Identifier: MIT
#include "picker/dialogs/valueeditor.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <utility>

#include "fieldvalues/fieldtypes.h"
#include "picker/dialogs/dialogunits.h"
#include "picker/dialogs/editorplacement.h"

namespace {

const char *const ValidText = "Data Valid";
const char *const NotValidText = "Data NOT Valid";
const char *const RequiredText = "This field is required, it must be filled up.";

QPushButton *commandButton(QWidget *parent, const char *text, const char *name, const QRect &rect)
{
    auto *button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    return button;
}

QLabel *centredLabel(QWidget *parent, const char *name, const QRect &rect)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(rect);
    return label;
}

} // namespace

ValueEditor::ValueEditor(QWidget *owner, const TableDescription &description, PickedRow &row,
                         int field, FillStateSink fillState)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_row(row),
      m_field(field), m_fillState(std::move(fillState))
{
    const bool known = field >= 0 && field < row.fieldCount && field < description.fieldCount;
    if (known)
        m_description = description.fields[static_cast<std::size_t>(field)];
    else
        m_field = -1;

    const DialogUnits units(font());
    setFixedSize(units.size(242, 49));

    // Created in tab order: the edit, then the buttons.
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("valueEdit"));
    m_edit->setGeometry(units.rect(4, 2, 233, 12));
    QPushButton *ok = commandButton(this, "OK", "okButton", units.rect(8, 31, 49, 14));
    ok->setDefault(true);
    QPushButton *cancel = commandButton(this, "Cancel", "cancelButton", units.rect(67, 31, 49, 14));
    QPushButton *clear = commandButton(this, "Clear", "clearButton", units.rect(126, 31, 49, 14));
    m_recover = commandButton(this, "Recover", "recoverButton", units.rect(185, 31, 49, 14));

    m_validity = centredLabel(this, "validityLabel", units.rect(4, 17, 57, 9));
    m_validity->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_validity->setText(QStringLiteral("Valid"));
    m_required = centredLabel(this, "requiredLabel", units.rect(75, 17, 158, 9));

    connect(ok, &QPushButton::clicked, this, &ValueEditor::ok);
    connect(cancel, &QPushButton::clicked, this, &ValueEditor::reject);
    connect(clear, &QPushButton::clicked, this, &ValueEditor::clear);
    connect(m_recover, &QPushButton::clicked, this, &ValueEditor::recover);

    if (m_field < 0) {
        m_recover->setEnabled(false);
        return;
    }
    const std::size_t f = static_cast<std::size_t>(m_field);
    const bool valid = checkStoredValue(m_row, m_description, m_field);
    m_validity->setText(QString::fromLatin1(valid ? ValidText : NotValidText));
    if (m_description.required != 0)
        m_required->setText(QString::fromLatin1(RequiredText));
    setWindowTitle(QString::fromStdString(m_description.title + "    " +
                                          fieldHint(m_description.sqlType, m_description.length)));
    m_recover->setEnabled(!m_row.previousValue[f].empty());
    m_edit->setText(QString::fromStdString(m_row.value[f]));
    m_edit->setFocus(Qt::OtherFocusReason);
    m_edit->selectAll();
}

void ValueEditor::placeBesideButton(const QRect &window, const QPoint &clientTopLeft,
                                    const QRect &button, int orientation)
{
    QScreen *screen = QGuiApplication::screenAt(button.center());
    if (screen == nullptr)
        screen = this->screen();
    EditorPlacement placement;
    placement.desktop = screen != nullptr ? screen->availableGeometry() : QRect();
    placement.window = window;
    placement.clientTopLeft = clientTopLeft;
    placement.button = button;
    placement.editor = frameGeometry().size();
    placement.orientation = orientation;
    move(valueEditorPosition(placement));
}

void ValueEditor::reject()
{
    done(1);
}

void ValueEditor::ok()
{
    if (m_field >= 0)
        m_changed = storeTypedValue(m_row, m_description, m_field, m_edit->text().toStdString(),
                                    m_fillState);
    done(1);
}

void ValueEditor::clear()
{
    m_edit->clear();
    m_edit->setFocus(Qt::OtherFocusReason);
}

void ValueEditor::recover()
{
    if (m_field >= 0)
        m_edit->setText(
            QString::fromStdString(m_row.previousValue[static_cast<std::size_t>(m_field)]));
    m_edit->setFocus(Qt::OtherFocusReason);
}
