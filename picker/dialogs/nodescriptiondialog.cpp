// SPDX-License-Identifier: MIT
#include "picker/dialogs/nodescriptiondialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "picker/dialogs/dialoglayout.h"

namespace {

// What the dialog ends with.
constexpr int EndedGaveUp = 0;
constexpr int EndedCreateNew = 1;
constexpr int EndedLoadExisting = 2;

} // namespace

NoDescriptionDialog::NoDescriptionDialog(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Quillon"));

    auto *text = namedLabel(this, tr("No Database Table Description File Found !"), "messageLabel");
    text->setAlignment(Qt::AlignCenter);

    m_createNew = new QRadioButton(tr("Create New One"), this);
    m_createNew->setObjectName(QStringLiteral("createNewButton"));
    m_createNew->setChecked(true);
    auto *loadExisting = new QRadioButton(tr("Load Existing One"), this);
    loadExisting->setObjectName(QStringLiteral("loadExistingButton"));

    auto *ok = commandButton(this, tr("OK"), "okButton");
    ok->setDefault(true);
    auto *cancel = commandButton(this, tr("Cancel"), "cancelButton");
    connect(ok, &QPushButton::clicked, this, &NoDescriptionDialog::ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The message, the two choices one under the other in the middle, then the buttons.
    auto *choices = new QVBoxLayout;
    choices->addWidget(m_createNew);
    choices->addWidget(loadExisting);
    auto *middle = new QHBoxLayout;
    middle->addStretch();
    middle->addLayout(choices);
    middle->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(middle);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(centredRow({ok, cancel}));
    setFixedSize(sizeHint());
    m_createNew->setFocus(Qt::OtherFocusReason);
}

NoDescriptionDialog::Choice NoDescriptionDialog::choice() const
{
    switch (result()) {
    case EndedCreateNew:
        return Choice::CreateNew;
    case EndedLoadExisting:
        return Choice::LoadExisting;
    default:
        return Choice::GaveUp;
    }
}

NoDescriptionDialog::Choice NoDescriptionDialog::ask(QWidget *owner)
{
    NoDescriptionDialog dialog(owner);
    QScreen *screen = owner != nullptr && owner->screen() != nullptr
                          ? owner->screen()
                          : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        QRect frame(QPoint(0, 0), dialog.size());
        frame.moveCenter(screen->availableGeometry().center());
        dialog.move(frame.topLeft());
    }
    dialog.exec();
    return dialog.choice();
}

void NoDescriptionDialog::ok()
{
    done(m_createNew->isChecked() ? EndedCreateNew : EndedLoadExisting);
}
