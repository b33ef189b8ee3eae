// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include <QApplication>
#include <QFont>
#include <QLocale>
#include <QWidget>
#include <gtest/gtest.h>

#include "desktop/translations.h"

// What the layout tests of both programs' windows share: the conditions a window must look
// right in (the default font, a larger font, German), and the check that it does.
namespace layoutcheck {

// Each shown widget directly inside `window` (shown) lies inside it, overlaps no other and has
// the room its text needs.
inline void expectLaidOut(const QWidget &window)
{
    const QList<QWidget *> widgets =
        window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QWidget *widget : widgets) {
        if (!widget->isVisible())
            continue;
        const std::string name = widget->metaObject()->className() + std::string(" ") +
                                 widget->objectName().toStdString();
        EXPECT_TRUE(window.rect().contains(widget->geometry())) << name;
        EXPECT_GE(widget->width(), widget->minimumSizeHint().width()) << name;
        EXPECT_GE(widget->height(), widget->minimumSizeHint().height()) << name;
        for (const QWidget *other : widgets)
            EXPECT_TRUE(other == widget || !other->isVisible() ||
                        !other->geometry().intersects(widget->geometry()))
                << name << " and " << other->objectName().toStdString();
    }
}

inline auto conditions()
{
    return ::testing::Values("default font", "larger font", "German");
}

inline std::string conditionName(const ::testing::TestParamInfo<const char *> &param)
{
    std::string name = param.param;
    std::erase(name, ' ');
    return name;
}

// One of the conditions, for `program`, while the object lives.
class Condition
{
public:
    Condition(const std::string &condition, const QString &program)
        : m_normal(QApplication::font()), m_german(condition == "German")
    {
        if (condition == "larger font") {
            QFont larger = m_normal;
            larger.setPointSizeF(m_normal.pointSizeF() * 1.6);
            QApplication::setFont(larger);
        }
        m_translations.emplace(program,
                               m_german ? QLocale(QLocale::German) : QLocale(QLocale::English));
    }
    ~Condition() { QApplication::setFont(m_normal); }
    Condition(const Condition &) = delete;
    Condition &operator=(const Condition &) = delete;

    bool german() const { return m_german; }

private:
    QFont m_normal;
    bool m_german;
    std::optional<Translations> m_translations;
};

} // namespace layoutcheck
