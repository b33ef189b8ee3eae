// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Turns the units of a dialog layout into pixels for a font: a horizontal unit is a quarter of
// the font's average character width, a vertical unit an eighth of its height, so a layout keeps
// its proportions to the text whatever the font.
class DialogUnits
{
public:
    explicit DialogUnits(const QFont &font);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int left, int top, int width, int height) const;
    QSize size(int width, int height) const;

    int baseWidth() const { return m_baseX; }
    int baseHeight() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};
