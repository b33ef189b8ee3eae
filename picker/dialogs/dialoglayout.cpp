// SPDX-License-Identifier: MIT
#include "picker/dialogs/dialoglayout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

QLabel *namedLabel(QWidget *parent, const QString &text, const char *name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton *commandButton(QWidget *parent, const QString &text, const char *name)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumWidth(button->fontMetrics().averageCharWidth() * 25 / 2);
    return button;
}

QHBoxLayout *centredRow(std::initializer_list<QWidget *> widgets)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QWidget *widget : widgets)
        row->addWidget(widget);
    row->addStretch();
    return row;
}
