// SPDX-License-Identifier: MIT
#include "picker/dialogs/aboutbox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <utility>

#include "picker/dialogs/dialogunits.h"

const char *const AboutCaption = "About Quillon";
const char *const AboutProductLine = "Quillon Version 1.01";
const char *const AboutPurposeLine = "Picks field values from other applications";
const char *const AboutCompanionLine = "into a database table. A companion of Ormund.";

namespace {

QLabel *textLine(QWidget *parent, const char *text, const char *name, const QRect &rect)
{
    auto *label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget *owner, std::function<void()> showHelp)
    : QDialog(owner), m_showHelp(std::move(showHelp))
{
    setWindowTitle(QString::fromLatin1(AboutCaption));
    const DialogUnits units(font());
    setFixedSize(units.size(230, 74));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("iconLabel"));
    const QRect iconRect = units.rect(8, 8, 20, 20);
    icon->setGeometry(iconRect);
    icon->setAlignment(Qt::AlignCenter);
    const QIcon windowIcon = QApplication::windowIcon();
    if (!windowIcon.isNull())
        icon->setPixmap(windowIcon.pixmap(32, 32));

    textLine(this, AboutProductLine, "productLabel", units.rect(36, 8, 186, 10));
    textLine(this, AboutPurposeLine, "purposeLabel", units.rect(36, 24, 186, 10));
    textLine(this, AboutCompanionLine, "companionLabel", units.rect(36, 34, 186, 10));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(units.rect(61, 52, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("helpButton"));
    help->setGeometry(units.rect(119, 52, 50, 14));
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_showHelp)
            m_showHelp();
        accept();
    });
}
