// SPDX-License-Identifier: MIT
#include "picker/dialogs/valueeditor.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <utility>

#include "fieldvalues/fieldtypes.h"
#include "picker/dialogs/dialoglayout.h"
#include "picker/dialogs/editorplacement.h"

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

    // Created in tab order: the edit, then the buttons.
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("valueEdit"));
    m_edit->setMinimumWidth(fontMetrics().averageCharWidth() * 58);
    QPushButton *ok = commandButton(this, tr("OK"), "okButton");
    ok->setDefault(true);
    QPushButton *cancel = commandButton(this, tr("Cancel"), "cancelButton");
    QPushButton *clear = commandButton(this, tr("Clear"), "clearButton");
    m_recover = commandButton(this, tr("Recover"), "recoverButton");

    m_validity = namedLabel(this, tr("Valid"), "validityLabel");
    m_validity->setAlignment(Qt::AlignCenter);
    m_validity->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_required = namedLabel(this, QString(), "requiredLabel");
    m_required->setAlignment(Qt::AlignCenter);

    // The edit across the editor; under it whether the value is valid (above the first button)
    // and whether the field is required; then the four buttons, as wide as each other.
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_edit, 0, 0, 1, 4);
    layout->addWidget(m_validity, 1, 0);
    layout->addWidget(m_required, 1, 1, 1, 3);
    int column = 0;
    for (QPushButton *button : {ok, cancel, clear, m_recover}) {
        layout->addWidget(button, 2, column);
        layout->setColumnStretch(column++, 1);
    }

    connect(ok, &QPushButton::clicked, this, &ValueEditor::ok);
    connect(cancel, &QPushButton::clicked, this, &ValueEditor::reject);
    connect(clear, &QPushButton::clicked, this, &ValueEditor::clear);
    connect(m_recover, &QPushButton::clicked, this, &ValueEditor::recover);

    if (m_field < 0) {
        m_recover->setEnabled(false);
        setFixedSize(sizeHint());
        return;
    }
    const std::size_t f = static_cast<std::size_t>(m_field);
    const bool valid = checkStoredValue(m_row, m_description, m_field);
    m_validity->setText(valid ? tr("Data Valid") : tr("Data NOT Valid"));
    if (m_description.required != 0)
        m_required->setText(tr("This field is required, it must be filled up."));
    setFixedSize(sizeHint());
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
