// SPDX-License-Identifier: MIT
// Runs GoogleTest cases that need a QApplication, on the offscreen platform unless another one is
// asked for.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    // English and C conventions whatever the machine's language, here and in the programs that
    // the tests start: the tests compare English texts.
    qputenv("LANGUAGE", "en");
    qputenv("LC_ALL", "C.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
