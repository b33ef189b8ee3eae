// SPDX-License-Identifier: MIT
#include "wizard/aboutbox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("About Ormund"));

    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/ormund")).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    auto *name = new QLabel(tr("Ormund Version %1").arg(QLatin1String(Version)), this);
    name->setObjectName(QStringLiteral("productName"));
    auto *companion =
        new QLabel(tr("A companion of Quillon: it describes the table that Quillon fills."), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(name, 0, 1);
    layout->addWidget(companion, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
