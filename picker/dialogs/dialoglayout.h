// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

// What the picker's dialogs share. Layouts place their widgets: a dialog takes the size that its
// texts need in the font and the language of the day, and keeps it.

// A label named for the tests.
QLabel *namedLabel(QWidget *parent, const QString &text, const char *name);

// A push button named for the tests, at least as wide as twelve and a half average characters of
// its font, as the dialogs' buttons have always been.
QPushButton *commandButton(QWidget *parent, const QString &text, const char *name);

// `widgets` side by side in the middle of a row.
QHBoxLayout *centredRow(std::initializer_list<QWidget *> widgets);
