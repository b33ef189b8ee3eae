// SPDX-License-Identifier: MIT
// The settings file of the picker: each test has its own XDG_CONFIG_HOME in a fresh folder; the
// tests that need pickers running side by side fork them.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "picker/settings.h"

namespace {

class SavedEnvironment
{
public:
    explicit SavedEnvironment(const char *name) : m_name(name)
    {
        const char *value = std::getenv(name);
        m_value = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    ~SavedEnvironment()
    {
        if (m_value)
            ::setenv(m_name, m_value->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<std::string> m_value;
};

class PickerSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = std::filesystem::temp_directory_path() / "quillon-settings.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_config = m_root + "/config/nested";
        ::setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
        ::setenv("HOME", m_root.c_str(), 1);
    }

    void TearDown() override { std::filesystem::remove_all(m_root); }

    void writeIni(const std::string &text) const
    {
        std::filesystem::create_directories(m_config);
        std::ofstream(m_config + "/quillon.ini", std::ios::binary) << text;
    }

    std::string readIni() const
    {
        std::ostringstream text;
        text << std::ifstream(m_config + "/quillon.ini", std::ios::binary).rdbuf();
        return text.str();
    }

    // Two pickers in child processes claim at the same instant and are killed once both have
    // claimed. Gives their sections, sorted, and the file as it was while both ran.
    std::vector<std::string> claimTogether(std::string &fileWhileBothRun) const
    {
        constexpr std::size_t RecordSize = 16;
        int start[2], results[2];
        if (::pipe(start) != 0 || ::pipe(results) != 0)
            return {};
        pid_t children[2];
        for (pid_t &child : children) {
            child = ::fork();
            if (child != 0)
                continue;
            ::close(start[1]);
            char record[RecordSize] = {};
            PickerSettings settings;
            if (::read(start[0], record, 1) == 0 && settings.claim()) {
                settings.sectionName().copy(record, RecordSize - 1);
                if (::write(results[1], record, RecordSize) == RecordSize &&
                    ::close(results[1]) == 0)
                    ::pause();
            }
            ::_exit(1);
        }
        ::close(start[1]); // both children go now
        ::close(results[1]);
        // Each record arrives whole: a pipe does not split writes this small.
        std::vector<std::string> sections;
        char record[RecordSize] = {};
        while (sections.size() < 2 && ::read(results[0], record, RecordSize) == RecordSize)
            sections.emplace_back(record);
        fileWhileBothRun = readIni();
        for (const pid_t child : children) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        ::close(start[0]);
        ::close(results[0]);
        std::sort(sections.begin(), sections.end());
        return sections;
    }

    SavedEnvironment m_savedConfig{"XDG_CONFIG_HOME"};
    SavedEnvironment m_savedHome{"HOME"};
    std::string m_root;
    std::string m_config;
};

TEST_F(PickerSettingsTest, FirstStartCreatesTheFolderAndClaimsSettings)
{
    PickerSettings settings;
    EXPECT_EQ(PickerSettings::configPath(), m_config + "/quillon.ini");
    EXPECT_TRUE(settings.claim());
    EXPECT_EQ(settings.sectionName(), "Settings");
    EXPECT_EQ(settings.orientation(), 0u);
    EXPECT_EQ(settings.dataTableFile(), "");
    EXPECT_EQ(readIni(), "[Settings]\ninuse=1\n");
}

// The keys for every application come from the claimed section and are never written back.
TEST_F(PickerSettingsTest, ShortcutsAreReadFromTheClaimedSectionAndLeftAsWritten)
{
    const std::string text = "[Settings]\nSHORTCUT.Pick1 = Super+1\nshortcut.enter=\n"
                             "shortcut.fillrow=Ctrl+Blah\n[Settings1]\nshortcut.pick2=Ctrl+F2\n";
    writeIni(text);
    PickerSettings settings;
    ASSERT_TRUE(settings.claim());
    const ShortcutSet &keys = settings.shortcuts();
    EXPECT_EQ(keys[ShortcutAction::Pick1], (KeyCombination{KeyCombination::Super, "1"}));
    EXPECT_EQ(keys[ShortcutAction::Pick2],
              (KeyCombination{KeyCombination::Ctrl | KeyCombination::Alt, "2"}));
    EXPECT_FALSE(keys[ShortcutAction::Enter]);
    EXPECT_FALSE(keys[ShortcutAction::FillRow]);
    EXPECT_EQ(keys.unreadable, std::vector<std::string>{"shortcut.fillrow=Ctrl+Blah"});
    ASSERT_TRUE(settings.release(0, "t.dtd", CaptureMode::Copy));
    EXPECT_EQ(readIni(), "[Settings]\nSHORTCUT.Pick1 = Super+1\nshortcut.enter=\n"
                         "shortcut.fillrow=Ctrl+Blah\ninuse=0\norientation=0\n"
                         "datatablefile=t.dtd\ncapture=copy\n[Settings1]\n"
                         "shortcut.pick2=Ctrl+F2\n");
}

TEST_F(PickerSettingsTest, ConfigFolderIsHomeConfigUnlessXdgIsAbsolute)
{
    for (const char *xdg : {"", "relative/config"}) {
        ::setenv("XDG_CONFIG_HOME", xdg, 1);
        EXPECT_EQ(PickerSettings::configPath(), m_root + "/.config/quillon.ini") << xdg;
    }
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(PickerSettings::configPath(), m_root + "/.config/quillon.ini");
}

TEST_F(PickerSettingsTest, SecondPickerTakesSettings1AndAfterBothEndedSettingsIsFreeAgain)
{
    PickerSettings first;
    PickerSettings second;
    first.claim();
    second.claim();
    EXPECT_EQ(second.sectionName(), "Settings1");

    EXPECT_TRUE(first.release(0, "/data/a.dtd", CaptureMode::Copy));
    EXPECT_TRUE(second.releaseInUseOnly());
    EXPECT_EQ(readIni(), "[Settings]\ninuse=0\norientation=0\ndatatablefile=/data/a.dtd\n"
                         "capture=copy\n\n"
                         "[Settings1]\ninuse=0\n");

    PickerSettings third;
    third.claim();
    EXPECT_EQ(third.sectionName(), "Settings");
    EXPECT_EQ(third.dataTableFile(), "/data/a.dtd");
}

TEST_F(PickerSettingsTest, OrientationReadsLikeThePlatformNumberReaderAndIsWrittenBack)
{
    const struct
    {
        const char *text;
        const char *written;
    } cases[] = {
        {"7", "7"}, {" +3 ", "3"}, {"12abc", "12"}, {"abc", "0"}, {"", "0"}, {"-1", "4294967295"},
    };
    for (const auto &c : cases) {
        writeIni(std::string("[Settings]\norientation=") + c.text + "\n");
        PickerSettings settings;
        settings.claim();
        EXPECT_EQ(std::to_string(settings.orientation()), c.written) << '"' << c.text << '"';
        settings.release(settings.orientation(), "", CaptureMode::Copy);
        EXPECT_EQ(readIni(), std::string("[Settings]\norientation=") + c.written +
                                 "\ninuse=0\ndatatablefile=\ncapture=copy\n");
    }
}

TEST_F(PickerSettingsTest, CaptureModeIsReadAndWrittenBackWithTheOthers)
{
    const struct
    {
        const char *line; // in the file before the run; nullptr for none
        CaptureMode read;
        const char *written;
    } cases[] = {
        {nullptr, CaptureMode::Copy, "capture=copy"},
        {"capture=copy", CaptureMode::Copy, "capture=copy"},
        {"capture=selection", CaptureMode::Selection, "capture=selection"},
        {"Capture = Selection ", CaptureMode::Selection, "Capture=selection"},
        {"capture=SELECTION", CaptureMode::Selection, "capture=selection"},
        {"capture=selected", CaptureMode::Copy, "capture=copy"},
        {"capture=", CaptureMode::Copy, "capture=copy"},
    };
    for (const auto &c : cases) {
        const std::string line = c.line != nullptr ? std::string(c.line) + "\n" : "";
        writeIni("[Settings]\norientation=1\n" + line +
                 "colour=blue\n\n[Settings1]\ncapture=selection\n");
        PickerSettings settings;
        settings.claim();
        EXPECT_EQ(settings.captureMode(), c.read) << c.line;
        EXPECT_TRUE(
            settings.release(settings.orientation(), "/data/a.dtd", settings.captureMode()));
        // The key keeps its place and its spelling; a missing one joins the end of the section.
        const std::string after = c.line != nullptr
                                      ? std::string("[Settings]\norientation=1\n") + c.written +
                                            "\ncolour=blue\ninuse=0\ndatatablefile=/data/a.dtd\n"
                                      : std::string("[Settings]\norientation=1\ncolour=blue\n"
                                                    "inuse=0\ndatatablefile=/data/a.dtd\n") +
                                            c.written + "\n";
        EXPECT_EQ(readIni(), after + "\n[Settings1]\ncapture=selection\n") << c.line;
    }

    // The mode in use at the end is what is written.
    writeIni("[Settings]\ncapture=copy\n");
    PickerSettings settings;
    settings.claim();
    EXPECT_TRUE(settings.release(0, "", CaptureMode::Selection));
    PickerSettings next;
    next.claim();
    EXPECT_EQ(next.captureMode(), CaptureMode::Selection);
}

TEST_F(PickerSettingsTest, HandWrittenFileReadsAndKeepsItsOtherLines)
{
    const std::string handWritten = "; kept by hand\n"
                                    "[ settings ]\n"
                                    " Orientation = 1\n"
                                    "DataTableFile =  /home/ann/My Tables/people.dtd  \n"
                                    "colour=blue\n"
                                    "\n"
                                    "[Other]\n"
                                    "inuse=1\n";
    const std::string afterRun = "; kept by hand\n"
                                 "[ settings ]\n"
                                 "Orientation=0\n"
                                 "DataTableFile=/data/people.dtd\n"
                                 "colour=blue\n"
                                 "inuse=0\n"
                                 "capture=copy\n"
                                 "\n"
                                 "[Other]\n"
                                 "inuse=1\n";
    const auto withLineEnd = [](std::string text, bool carriageReturn) {
        for (std::size_t at = text.find('\n'); carriageReturn && at != std::string::npos;
             at = text.find('\n', at + 2))
            text.insert(at, 1, '\r');
        return text;
    };
    for (const bool carriageReturn : {false, true}) {
        writeIni(withLineEnd(handWritten, carriageReturn));
        PickerSettings settings;
        settings.claim();
        EXPECT_EQ(settings.sectionName(), "Settings");
        EXPECT_EQ(settings.orientation(), 1u);
        EXPECT_EQ(settings.dataTableFile(), "/home/ann/My Tables/people.dtd");
        settings.release(0, "/data/people.dtd", CaptureMode::Copy);
        EXPECT_EQ(readIni(), withLineEnd(afterRun, carriageReturn));
    }
}

TEST_F(PickerSettingsTest, PathComesBackByteForByteAndStaysPlain)
{
    const char *paths[] = {
        "/home/ann/My Tables/people.dtd",     "/data/a,b;c.dtd",
        "/data/\"quoted\" and 'single'.dtd",  "/data/key=value.dtd",
        "/data/[Settings1]/#x.dtd",           "/data/Zürich/Ærø/日本語.dtd",
        "\"/data/whole path in quotes.dtd\"",
    };
    for (const std::string path : paths) {
        PickerSettings writer;
        writer.claim();
        EXPECT_TRUE(writer.release(0, path, CaptureMode::Copy));
        EXPECT_NE(readIni().find("\ndatatablefile=" + path + "\n"), std::string::npos) << path;
        PickerSettings reader;
        reader.claim();
        EXPECT_EQ(reader.dataTableFile(), path);
    }
}

TEST_F(PickerSettingsTest, PathWithLineBreakLeavesTheEarlierPath)
{
    writeIni("[Settings]\ndatatablefile=/data/old.dtd\n");
    PickerSettings settings;
    settings.claim();
    EXPECT_FALSE(settings.release(1, "/data/new\n[Settings]\ninuse=1", CaptureMode::Copy));
    EXPECT_EQ(readIni(), "[Settings]\ndatatablefile=/data/old.dtd\ninuse=0\norientation=1\n"
                         "capture=copy\n");
}

TEST_F(PickerSettingsTest, InUseMarkWithoutRunningOwnerDoesNotKeepTheSection)
{
    writeIni("[Settings]\ninuse=1\norientation=1\n[Settings1]\ninuse=1\n");
    PickerSettings settings;
    settings.claim();
    EXPECT_EQ(settings.sectionName(), "Settings");
    EXPECT_EQ(settings.orientation(), 1u);
}

// The picker's window comes up before the mark is written: the owner lock keeps the section
// meanwhile.
TEST_F(PickerSettingsTest, MarkLeftForLaterIsWrittenByMarkInUse)
{
    writeIni("[Settings]\norientation=1\n");
    PickerSettings first;
    EXPECT_TRUE(first.claim(PickerSettings::InUseMark::Later));
    EXPECT_EQ(readIni(), "[Settings]\norientation=1\n");
    PickerSettings second;
    second.claim();
    EXPECT_EQ(second.sectionName(), "Settings1");
    EXPECT_TRUE(first.markInUse());
    EXPECT_EQ(readIni(), "[Settings]\norientation=1\ninuse=1\n\n[Settings1]\ninuse=1\n");
    EXPECT_TRUE(first.releaseInUseOnly());
    EXPECT_TRUE(first.markInUse()); // given up: writes nothing
    EXPECT_EQ(readIni(), "[Settings]\norientation=1\ninuse=0\n\n[Settings1]\ninuse=1\n");
}

// Every round after the first also takes again the sections of the pickers killed before.
TEST_F(PickerSettingsTest, PickersStartedAtTheSameInstantGetDistinctSections)
{
    for (int round = 0; round < 50; ++round) {
        std::string fileWhileBothRun;
        const std::vector<std::string> sections = claimTogether(fileWhileBothRun);
        ASSERT_EQ(sections, (std::vector<std::string>{"Settings", "Settings1"})) << round;
        // Neither write may drop the other's mark.
        ASSERT_EQ(fileWhileBothRun.find("[Settings]\ninuse=1\n"), 0u) << fileWhileBothRun;
        ASSERT_NE(fileWhileBothRun.find("[Settings1]\ninuse=1\n"), std::string::npos);
    }
}

} // namespace
