// SPDX-License-Identifier: MIT
#include "picker/dialogs/nodescriptiondialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "picker/dialogs/dialogunits.h"

namespace {

// What the dialog ends with.
constexpr int EndedGaveUp = 0;
constexpr int EndedCreateNew = 1;
constexpr int EndedLoadExisting = 2;

} // namespace

NoDescriptionDialog::NoDescriptionDialog(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Quillon"));
    const DialogUnits units(font());
    setFixedSize(units.size(186, 90));

    auto *text = new QLabel(QStringLiteral("No Database Table Description File Found !"), this);
    text->setObjectName(QStringLiteral("messageLabel"));
    text->setAlignment(Qt::AlignCenter);
    text->setGeometry(units.rect(7, 10, 172, 10));

    m_createNew = new QRadioButton(QStringLiteral("Create New One"), this);
    m_createNew->setObjectName(QStringLiteral("createNewButton"));
    m_createNew->setGeometry(units.rect(50, 30, 100, 10));
    m_createNew->setChecked(true);
    auto *loadExisting = new QRadioButton(QStringLiteral("Load Existing One"), this);
    loadExisting->setObjectName(QStringLiteral("loadExistingButton"));
    loadExisting->setGeometry(units.rect(50, 44, 100, 10));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(units.rect(33, 68, 50, 14));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setGeometry(units.rect(103, 68, 50, 14));

    connect(ok, &QPushButton::clicked, this, &NoDescriptionDialog::ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
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
