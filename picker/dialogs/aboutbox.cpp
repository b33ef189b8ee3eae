// SPDX-License-Identifier: MIT
#include "picker/dialogs/aboutbox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

#include "picker/dialogs/dialoglayout.h"

const char *const AboutCaption = QT_TRANSLATE_NOOP("AboutBox", "About Quillon");
const char *const AboutProductLine = QT_TRANSLATE_NOOP("AboutBox", "Quillon Version 1.01");
const char *const AboutPurposeLine =
    QT_TRANSLATE_NOOP("AboutBox", "Picks field values from other applications");
const char *const AboutCompanionLine =
    QT_TRANSLATE_NOOP("AboutBox", "into a database table. A companion of Ormund.");

AboutBox::AboutBox(QWidget *owner, std::function<void()> showHelp)
    : QDialog(owner), m_showHelp(std::move(showHelp))
{
    setWindowTitle(tr(AboutCaption));

    auto *icon = namedLabel(this, QString(), "iconLabel");
    icon->setAlignment(Qt::AlignCenter);
    const QIcon windowIcon = QApplication::windowIcon();
    if (!windowIcon.isNull())
        icon->setPixmap(windowIcon.pixmap(32, 32));

    // The product on a line of its own, half a line above what it does.
    auto *lines = new QVBoxLayout;
    lines->setSpacing(0);
    lines->addWidget(namedLabel(this, tr(AboutProductLine), "productLabel"));
    lines->addSpacing(fontMetrics().height() / 2);
    lines->addWidget(namedLabel(this, tr(AboutPurposeLine), "purposeLabel"));
    lines->addWidget(namedLabel(this, tr(AboutCompanionLine), "companionLabel"));

    auto *ok = commandButton(this, tr("OK"), "okButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *help = commandButton(this, tr("&Help"), "helpButton");
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_showHelp)
            m_showHelp();
        accept();
    });

    auto *top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(fontMetrics().averageCharWidth());
    top->addLayout(lines);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(centredRow({ok, help}));
    setFixedSize(sizeHint());
}
