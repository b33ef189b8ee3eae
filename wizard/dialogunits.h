// SPDX-License-Identifier: MIT
#pragma once

#include <QFontMetrics>
#include <QSize>
#include <QString>
#include <QWidget>

// Sizes given in dialog units, as the wizard's dialogs were laid out: a horizontal unit is a
// quarter of the font's average character width, a vertical unit an eighth of its height.
inline QSize dialogUnits(const QWidget *widget, int width, int height)
{
    const QFontMetrics metrics(widget->font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int averageWidth = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return QSize(width * averageWidth / 4, height * metrics.height() / 8);
}
