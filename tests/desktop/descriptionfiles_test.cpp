// SPDX-License-Identifier: MIT
// The Open and Save dialogs for description files, on the offscreen platform.

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "desktop/descriptionfiles.h"

namespace {

TEST(DialogFilters, EveryFileIsEveryNameOnThisSystem)
{
    struct
    {
        std::string_view list;
        std::vector<std::string> filters;
    } cases[] = {
        {DescriptionFileFilterList, {"Database Table Description Files(*.dtd)", "All Files (*)"}},
        {DescriptionSaveFilterList, {"Database Table Description (*.dtd)"}},
        {"Text#*.txt#", {"Text (*.txt)"}},
        {"Anything|*.*|", {"Anything (*)"}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(dialogFilters(c.list), c.filters) << c.list;
}

// Runs `chooser` while the dialog it opens is answered by `answer`.
bool choose(const std::function<bool(std::string &)> &chooser, std::string &path,
            const std::function<void(QFileDialog *)> &answer)
{
    QTimer::singleShot(0, [answer] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
    return chooser(path);
}

TEST(ChooseDescriptionFile, ReturnsTheChosenPathOrKeepsTheOld)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString chosen = dir.filePath(QStringLiteral("people"));
    auto open = [](std::string &path) {
        return chooseDescriptionFile(nullptr, path);
    };

    // The user types a name without a dot (the file need not exist) and presses Open.
    std::string path = "old.dtd";
    EXPECT_TRUE(choose(open, path, [&](QFileDialog *dialog) {
        EXPECT_EQ(dialog->nameFilters(),
                  (QStringList{QStringLiteral("Database Table Description Files(*.dtd)"),
                               QStringLiteral("All Files (*)")}));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        dialog->selectFile(chosen);
        static_cast<QDialog *>(dialog)->accept();
    }));
    EXPECT_EQ(path, chosen.toStdString());

    path = "old.dtd";
    EXPECT_FALSE(
        choose(open, path, [](QFileDialog *dialog) { static_cast<QDialog *>(dialog)->reject(); }));
    EXPECT_EQ(path, "old.dtd");
}

TEST(ChooseSaveDescriptionFile, AddsTheSuffixAndDoesNotAskBeforeReplacing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto save = [](std::string &path) {
        return chooseSaveDescriptionFile(nullptr, path);
    };

    std::string path = "default.dtd";
    EXPECT_TRUE(choose(save, path, [&](QFileDialog *dialog) {
        EXPECT_EQ(dialog->nameFilters(),
                  QStringList{QStringLiteral("Database Table Description (*.dtd)")});
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("dtd"));
        dialog->selectFile(dir.filePath(QStringLiteral("people")));
        static_cast<QDialog *>(dialog)->accept();
    }));
    EXPECT_EQ(path, dir.filePath(QStringLiteral("people.dtd")).toStdString());
}

} // namespace
