// SPDX-License-Identifier: MIT
#include <QFile>
#include <gtest/gtest.h>

#include "desktop/launch.h"
#include "desktop/translations.h"

namespace {

QString pageTitle(const QString &path)
{
    QFile page(path);
    if (!page.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(page.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("<title>")) + 7;
    return text.mid(start, text.indexOf(QStringLiteral("</title>")) - start);
}

TEST(HelpPage, EnglishAndGermanEachOpenTheirOwnPage)
{
    const QString english = QString::fromLocal8Bit(helpPagePath());
    EXPECT_TRUE(english.endsWith(QStringLiteral("/helpframe.htm"))) << english.toStdString();
    EXPECT_EQ(pageTitle(english).toStdString(), "Quillon and Ormund Help");

    const Translations german(QStringLiteral("ormund"), QLocale(QLocale::German));
    const QString translated = QString::fromLocal8Bit(helpPagePath());
    EXPECT_TRUE(translated.endsWith(QStringLiteral("/helpframe.de.htm")))
        << translated.toStdString();
    EXPECT_EQ(pageTitle(translated).toStdString(), "Hilfe zu Quillon und Ormund");
}

} // namespace
