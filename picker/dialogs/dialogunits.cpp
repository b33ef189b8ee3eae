// SPDX-License-Identifier: MIT
#include "picker/dialogs/dialogunits.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

// Rounded units × base / divisor.
int scale(int units, int base, int divisor)
{
    return (units * base + divisor / 2) / divisor;
}

} // namespace

DialogUnits::DialogUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = std::max(1, (letters + 26) / 52);
    m_baseY = std::max(1, metrics.height());
}

int DialogUnits::x(int units) const
{
    return scale(units, m_baseX, 4);
}

int DialogUnits::y(int units) const
{
    return scale(units, m_baseY, 8);
}

QRect DialogUnits::rect(int left, int top, int width, int height) const
{
    return QRect(x(left), y(top), x(width), y(height));
}

QSize DialogUnits::size(int width, int height) const
{
    return QSize(x(width), y(height));
}
