// SPDX-License-Identifier: MIT
// The picking state driven by clipboard notices, on the offscreen platform. The clipboard is
// Qt's real one (in-process there); the backend records what would reach another application.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "picker/capture/capture.h"
#include "picker/capture/capturetext.h"
#include "picker/capture/statuswindow.h"
#include "tests/support/recordingsink.h"

namespace {

// Stands in for the windowing system where the offscreen platform has none: it says which
// window was active and records focus moves and keys.
class RecordingBackend final : public CaptureBackend
{
public:
    bool available() const override { return true; }
    WindowId activeBeforeUs() override { return active; }
    bool knowsNoneBefore() override { return noneBefore; }
    WindowId windowAt(int x, int y) override
    {
        pointsAsked.emplace_back(x, y);
        return atPoint;
    }
    bool giveFocus(WindowId window) override
    {
        calls.push_back("focus " + std::to_string(window));
        return window != closedWindow;
    }
    bool sendCopyKeys() override
    {
        calls.emplace_back("ctrl+c");
        return true;
    }
    bool emptyClipboard() override { return emptiesClipboard; }
    bool textBeforeEmptying(std::string &text, std::size_t) override
    {
        text = textBefore;
        return !textBefore.empty();
    }
    bool ownerIsBystander() override { return bystander; }
    WindowClass windowClass(WindowId window) override
    {
        const auto found = classes.find(window);
        return found != classes.end() ? found->second : WindowClass{};
    }
    ClipboardRead readSelectionText(std::string &text, std::size_t limit) override
    {
        ++selectionReads;
        text = selection.substr(0, limit);
        return selectionRead;
    }

    // With emptiesClipboard the clipboard is left as it is, holding textBefore (when not empty);
    // bystander says whether its owner is neither the program asked nor the one in front.
    bool emptiesClipboard = false;
    std::string textBefore;
    bool bystander = false;
    WindowId active = 0;
    // A 0 from activeBeforeUs() is a window out of reach, not one unknown.
    bool noneBefore = false;
    WindowId atPoint = 0;
    WindowId closedWindow = 0;
    std::vector<std::pair<int, int>> pointsAsked;
    std::vector<std::string> calls;
    // The windows' WM_CLASS, and what the selection holds.
    std::map<WindowId, WindowClass> classes;
    ClipboardRead selectionRead = ClipboardRead::NoOwner;
    std::string selection;
    int selectionReads = 0;
};

using Fills = std::vector<std::pair<int, int>>;

constexpr int Notes = 1; // a long-text field

class CaptureControllerTest : public ::testing::Test
{
protected:
    CaptureControllerTest() : m_controller(m_backend, m_messages), m_status(&m_window)
    {
        m_description.connectString = "DSN=none";
        m_description.tableName = "people";
        m_description.fieldCount = 3;
        setField(0, "Name", 12, 10, "");
        setField(1, "Notes", -1, 65536, "");
        setField(2, "Town", 12, 20, "Paris");
        setValueWidths(m_description);

        m_controller.setPickerWindow(&m_window);
        m_controller.setStatusWindow(&m_status);
        m_controller.setFillStateSink(
            [this](int field, bool filled) { m_fills.emplace_back(field, filled ? 1 : 0); });
        m_controller.setBeepHook([this] { ++m_beeps; });
        EXPECT_TRUE(m_controller.tableLoaded(m_description));
        m_controller.resetRow();
        m_fills.clear();
        clipboard()->clear();
    }

    void setField(int index, const char *title, int sqlType, int length, const char *value)
    {
        FieldDescription &field = m_description.fields[static_cast<std::size_t>(index)];
        field.name = title;
        field.title = title;
        field.sqlType = sqlType;
        field.length = length;
        field.defaultValue = value;
    }

    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
    const PickedRow &row() const { return m_controller.row(); }
    const std::string &value(int field) const { return row().value[std::size_t(field)]; }

    TableDescription m_description;
    RecordingBackend m_backend;
    RecordingSink m_messages;
    CaptureController m_controller;
    QWidget m_window;
    StatusWindow m_status;
    Fills m_fills;
    int m_beeps = 0;
};

TEST_F(CaptureControllerTest, ClipboardChangeWhileIdleChangesNothing)
{
    clipboard()->setText(QStringLiteral("copied by hand"));
    EXPECT_EQ(value(0), "");
    EXPECT_EQ(row().unsaved, 0);
    EXPECT_TRUE(m_fills.empty());
}

TEST_F(CaptureControllerTest, PickedTextFillsTheWaitingField)
{
    m_backend.active = 77;
    m_controller.pickField(0);
    EXPECT_EQ(m_backend.calls, (std::vector<std::string>{"focus 77", "ctrl+c"}));
    EXPECT_EQ(row().captureTarget, 77u);
    EXPECT_EQ(row().pendingField, 0);

    clipboard()->setText(QStringLiteral("  Ada \t Lovelace-Byron \n"));
    EXPECT_EQ(value(0), "Ada Lovela"); // cut to the width of 10
    EXPECT_EQ(row().hasValue[0], 1);
    EXPECT_EQ(row().unsaved, 1);
    EXPECT_EQ(row().pendingField, -1);
    EXPECT_EQ(m_fills, (Fills{{0, 1}}));
    EXPECT_EQ(m_beeps, 0);
    // The status line shows the text as picked, not as cut.
    EXPECT_EQ(m_status.text(), QStringLiteral("Ada Lovelace-Byron"));
    EXPECT_EQ(m_status.windowTitle(),
              QStringLiteral("quillon   - text you are picking up to \"Name\""));

    // One click takes one value.
    clipboard()->setText(QStringLiteral("later"));
    EXPECT_EQ(value(0), "Ada Lovela");
}

TEST_F(CaptureControllerTest, SecondPickReplacesBeepsAndKeepsThePreviousValue)
{
    m_backend.active = 5;
    m_controller.pickField(0);
    clipboard()->setText(QStringLiteral("first"));
    m_controller.pickField(0);
    clipboard()->setText(QStringLiteral("second"));
    EXPECT_EQ(value(0), "second");
    EXPECT_EQ(row().previousValue[0], "first");
    EXPECT_EQ(m_beeps, 1);
    EXPECT_EQ(m_fills, (Fills{{0, 1}}));
}

// Notices that bring no usable text end the request and leave the field as it was; notices of
// an emptied clipboard are not an answer at all.
struct NoticeCase
{
    const char *name;
    void (*change)(QClipboard *);
    int pendingAfter;
};

class NoticeTest : public CaptureControllerTest, public ::testing::WithParamInterface<NoticeCase>
{};

TEST_P(NoticeTest, LeavesTheFieldAsItWas)
{
    m_backend.active = 5;
    m_controller.pickField(2);
    GetParam().change(clipboard());
    EXPECT_EQ(row().pendingField, GetParam().pendingAfter);
    EXPECT_EQ(value(2), "Paris");
    EXPECT_EQ(row().previousValue[2], "");
    EXPECT_EQ(row().unsaved, 0);
    EXPECT_EQ(m_beeps, 0);
    EXPECT_TRUE(m_fills.empty());
    EXPECT_TRUE(m_messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoticeTest,
    ::testing::Values(NoticeCase{"Picture",
                                 [](QClipboard *c) {
                                     QImage picture(4, 4, QImage::Format_RGB32);
                                     picture.fill(Qt::blue);
                                     c->setImage(picture);
                                 },
                                 -1},
                      NoticeCase{"WhiteSpaceOnly",
                                 [](QClipboard *c) { c->setText(QStringLiteral(" \t\r\n ")); }, -1},
                      NoticeCase{"EmptyText", [](QClipboard *c) { c->setText(QString()); }, -1},
                      NoticeCase{"EmptiedClipboard", [](QClipboard *c) { c->clear(); }, 2}),
    [](const ::testing::TestParamInfo<NoticeCase> &param) { return param.param.name; });

TEST_F(CaptureControllerTest, SecondRequestTakesThePlaceOfTheFirst)
{
    m_backend.active = 5;
    m_controller.pickField(0);
    m_controller.pickField(1);
    EXPECT_EQ(row().pendingField, 1);
    clipboard()->setText(QStringLiteral("line one\r\nline two\r\n"));
    EXPECT_EQ(value(0), "");
    // A long-text field keeps its line breaks, except at the end.
    EXPECT_EQ(value(1), "line one\r\nline two");
    EXPECT_EQ(m_fills, (Fills{{1, 1}}));
}

// A clipboard manager that refills the emptied clipboard puts back a text the clipboard held
// before, from a program of its own; the field keeps waiting for the copy. A new text from a
// bystander is taken only when no copy from the target follows it.
enum class Then
{
    Taken,          // at once
    TargetCopies,   // the target's copy that follows is taken
    TakenAfterAWait // nothing follows
};

struct RefillCase
{
    const char *name;
    bool bystander;
    const char *copied;
    Then then;
};

class RefillTest : public CaptureControllerTest, public ::testing::WithParamInterface<RefillCase>
{};

TEST_P(RefillTest, TakenOnlyWhenTheCopyCouldHaveMadeIt)
{
    const RefillCase &c = GetParam();
    m_backend.active = 5;
    m_backend.emptiesClipboard = true;
    m_controller.pickField(Notes);
    clipboard()->setText(QStringLiteral("picked before"));
    ASSERT_EQ(value(Notes), "picked before");

    m_backend.textBefore = "there before";
    m_backend.bystander = c.bystander;
    m_controller.pickField(Notes);
    clipboard()->setText(QString::fromUtf8(c.copied));
    const bool now = c.then == Then::Taken;
    EXPECT_EQ(value(Notes), now ? c.copied : "picked before");
    EXPECT_EQ(row().pendingField, now ? -1 : Notes);
    if (c.then == Then::TargetCopies) {
        m_backend.bystander = false;
        clipboard()->setText(QStringLiteral("the copy"));
        EXPECT_EQ(value(Notes), "the copy");
        QTest::qWait(700); // past the bystander's wait: it is not taken later
        EXPECT_EQ(value(Notes), "the copy");
    } else if (c.then == Then::TakenAfterAWait) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return value(Notes) == c.copied; }, 5000));
        EXPECT_EQ(row().pendingField, -1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefillTest,
    ::testing::Values(
        RefillCase{"ManagerPutsBackTheTextBefore", true, "there before", Then::TargetCopies},
        RefillCase{"ManagerPutsBackAnEarlierPick", true, "picked before", Then::TargetCopies},
        RefillCase{"NewTextFromABystanderBeforeTheCopy", true, "history", Then::TargetCopies},
        RefillCase{"NewTextFromABystanderAlone", true, "by a helper", Then::TakenAfterAWait},
        RefillCase{"SameTextFromTheProgramAsked", false, "there before", Then::Taken}),
    [](const ::testing::TestParamInfo<RefillCase> &param) { return param.param.name; });

// A terminal is never sent Ctrl+C, which would interrupt the program running in it: what is
// selected there fills the field at once, the way a copy does.
TEST_F(CaptureControllerTest, TerminalGetsNoKeysAndItsSelectionFillsTheField)
{
    clipboard()->setText(QStringLiteral("on the clipboard"));
    m_backend.active = 40;
    m_backend.classes[40] = {"xterm", "XTerm"};
    m_backend.selectionRead = CaptureBackend::ClipboardRead::Text;
    m_backend.selection = "  total 48 \n drwxr-xr-x  ";
    m_controller.pickField(0);
    // It gets the focus back, and no keys.
    EXPECT_EQ(m_backend.calls, (std::vector<std::string>{"focus 40"}));
    EXPECT_EQ(row().captureTarget, 40u);
    EXPECT_EQ(row().pendingField, -1);
    EXPECT_EQ(value(0), "total 48 d");
    EXPECT_EQ(row().hasValue[0], 1);
    EXPECT_EQ(row().unsaved, 1);
    EXPECT_EQ(m_fills, (Fills{{0, 1}}));
    EXPECT_EQ(m_status.text(), QStringLiteral("total 48 drwxr-xr-x"));
    EXPECT_EQ(m_status.windowTitle(),
              QStringLiteral("quillon   - text you are picking up to \"Name\""));
    // The clipboard was not touched.
    EXPECT_EQ(clipboard()->text(), QStringLiteral("on the clipboard"));

    m_backend.selection = "second";
    m_controller.pickField(0);
    EXPECT_EQ(value(0), "second");
    EXPECT_EQ(row().previousValue[0], "total 48 d");
    EXPECT_EQ(m_beeps, 1);
    EXPECT_EQ(m_fills, (Fills{{0, 1}}));
    EXPECT_FALSE(m_controller.copyFromTargetWindow(40));
    EXPECT_EQ(m_backend.calls, (std::vector<std::string>{"focus 40", "focus 40"}));
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(CaptureControllerTest, SelectionModeReadsTheSelectionForEveryWindow)
{
    m_controller.setCaptureMode(CaptureMode::Selection);
    m_backend.active = 5; // an editor
    m_backend.classes[5] = {"geany", "Geany"};
    m_backend.selectionRead = CaptureBackend::ClipboardRead::Text;
    m_backend.selection = "line one\r\nline two";
    m_controller.pickField(Notes);
    EXPECT_TRUE(m_backend.calls.empty());
    EXPECT_TRUE(m_backend.pointsAsked.empty());
    EXPECT_EQ(value(Notes), "line one\r\nline two");
    EXPECT_EQ(row().pendingField, -1);
    EXPECT_EQ(m_backend.selectionReads, 1);

    // Copies made afterwards go nowhere.
    clipboard()->setText(QStringLiteral("later"));
    EXPECT_EQ(value(Notes), "line one\r\nline two");
    EXPECT_EQ(value(0), "");
}

// A pick from the selection that finds nothing to take ends at once: the field is unchanged,
// nothing is left waiting, and the status window says why.
struct EmptySelectionCase
{
    const char *name;
    CaptureBackend::ClipboardRead read;
    const char *selection;
    const char *shown;
};

class EmptySelectionTest : public CaptureControllerTest,
                           public ::testing::WithParamInterface<EmptySelectionCase>
{};

TEST_P(EmptySelectionTest, EndsThePickAtOnceAndSaysSo)
{
    const EmptySelectionCase &c = GetParam();
    m_backend.active = 40;
    m_backend.classes[40] = {"gnome-terminal-server", "Gnome-terminal"};
    // A copy request for another field is still waiting.
    m_backend.classes[41] = {"mousepad", "Mousepad"};
    m_backend.active = 41;
    m_controller.pickField(0);
    ASSERT_EQ(row().pendingField, 0);
    m_backend.active = 40;
    m_backend.calls.clear();

    m_backend.selectionRead = c.read;
    m_backend.selection = c.selection;
    m_controller.pickField(2);
    // The terminal gets the focus back, without keys.
    EXPECT_EQ(m_backend.calls, (std::vector<std::string>{"focus 40"}));
    EXPECT_EQ(row().pendingField, -1);
    EXPECT_EQ(value(2), "Paris");
    EXPECT_EQ(row().unsaved, 0);
    EXPECT_TRUE(m_fills.empty());
    EXPECT_EQ(m_status.text(), QString::fromUtf8(c.shown));
    EXPECT_EQ(m_status.windowTitle(),
              QStringLiteral("quillon   - text you are picking up to \"Town\""));
    EXPECT_TRUE(m_messages.shown.empty());

    // The status line shows the whole text.
    EXPECT_LE(std::string(c.shown).size(), 74u);
    clipboard()->setText(QStringLiteral("copied later"));
    EXPECT_EQ(value(0), "");
    EXPECT_EQ(value(2), "Paris");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EmptySelectionTest,
    ::testing::Values(
        EmptySelectionCase{"NothingSelected", CaptureBackend::ClipboardRead::NoOwner, "",
                           "Nothing is selected: select the text first, then click the field's "
                           "button."},
        EmptySelectionCase{"OnlyBlanksSelected", CaptureBackend::ClipboardRead::Text, " \t\n ",
                           "Nothing is selected: select the text first, then click the field's "
                           "button."},
        EmptySelectionCase{"PictureSelected", CaptureBackend::ClipboardRead::NoText, "",
                           "The selection holds no text: select some text, then click again."}),
    [](const ::testing::TestParamInfo<EmptySelectionCase> &param) { return param.param.name; });

TEST(NullCaptureBackend, InSelectionModeSaysThatCaptureIsUnavailableAndWaitsForAHandCopy)
{
    NullCaptureBackend backend;
    RecordingSink messages;
    CaptureController controller(backend, messages);
    controller.setCaptureMode(CaptureMode::Selection);
    TableDescription description;
    description.fieldCount = 1;
    description.fields[0].title = "Name";
    description.fields[0].sqlType = 12;
    description.fields[0].length = 20;
    setValueWidths(description);
    ASSERT_TRUE(controller.tableLoaded(description));
    controller.resetRow();

    controller.pickField(0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, CaptureUnavailableText);
    EXPECT_EQ(controller.row().pendingField, 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("copied by hand"));
    EXPECT_EQ(controller.row().value[0], "copied by hand");
}

TEST_F(CaptureControllerTest, CopyByHandFillsTheWaitingField)
{
    m_backend.active = 9;
    m_backend.closedWindow = 9; // the target does not answer
    m_controller.pickField(0);
    EXPECT_EQ(m_backend.calls, (std::vector<std::string>{"focus 9"}));
    EXPECT_EQ(row().pendingField, 0);
    clipboard()->setText(QStringLiteral("by hand"));
    EXPECT_EQ(value(0), "by hand");
}

TEST_F(CaptureControllerTest, WithoutFocusHistoryTheWindowAtTheCentreIsRemembered)
{
    m_backend.atPoint = 31;
    m_controller.pickField(0);
    ASSERT_EQ(m_backend.pointsAsked.size(), 1u);
    EXPECT_EQ(row().captureTarget, 31u);
    EXPECT_EQ(m_backend.calls, (std::vector<std::string>{"focus 31", "ctrl+c"}));

    m_backend.atPoint = 32;
    m_controller.pickField(1);
    EXPECT_EQ(m_backend.pointsAsked.size(), 1u);
    EXPECT_EQ(m_backend.calls.back(), "ctrl+c");
    EXPECT_EQ(m_backend.calls[2], "focus 31");
}

// Under XWayland a Wayland-native window had the focus before the palette: neither the window of
// the earlier pick nor the one at the centre gets keys, and the field waits for a copy by hand.
TEST_F(CaptureControllerTest, AWindowOutOfReachBeforeUsSendsNoKeysAndTheFieldWaits)
{
    m_backend.active = 9;
    m_backend.atPoint = 31;
    m_backend.noneBefore = true;
    m_controller.pickField(0);
    clipboard()->setText(QStringLiteral("Ada"));
    m_backend.calls.clear();

    m_backend.active = 0;
    m_controller.pickField(1);
    EXPECT_TRUE(m_backend.calls.empty());
    EXPECT_EQ(row().captureTarget, 0u);
    EXPECT_EQ(row().pendingField, 1);
    EXPECT_EQ(
        m_status.text(),
        QStringLiteral("Quillon cannot reach that window: copy with Ctrl+C, the text comes here."));
    EXPECT_EQ(m_status.windowTitle(),
              QStringLiteral("quillon   - text you are picking up to \"Notes\""));
    clipboard()->setText(QStringLiteral("by hand"));
    EXPECT_EQ(value(1), "by hand");
}

TEST_F(CaptureControllerTest, OwnWindowIsNeverSentKeys)
{
    m_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    m_backend.active = static_cast<WindowId>(m_window.winId());
    m_controller.pickField(0);
    EXPECT_TRUE(m_backend.calls.empty());
    EXPECT_EQ(row().pendingField, 0);
    EXPECT_FALSE(m_controller.copyFromTargetWindow(0));
}

TEST_F(CaptureControllerTest, FocusGainRemembersTheWindowActiveBefore)
{
    m_backend.active = 64;
    m_window.show();
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    EXPECT_EQ(row().captureTarget, 64u);
}

TEST_F(CaptureControllerTest, CaptureIsCutAt32000BytesWithoutSplittingACharacter)
{
    m_backend.active = 5;
    m_controller.pickField(1);
    clipboard()->setText(QString(31999, QLatin1Char('a')) + QStringLiteral("éxyz"));
    EXPECT_EQ(value(1), std::string(31999, 'a'));
    EXPECT_EQ(m_status.text(), QString(74, QLatin1Char('a')) + QStringLiteral("..."));

    m_controller.pickField(1);
    clipboard()->setText(QString(40000, QLatin1Char('b')));
    EXPECT_EQ(value(1), std::string(32000, 'b'));
    EXPECT_EQ(row().previousValue[1], std::string(31999, 'a'));
}

TEST_F(CaptureControllerTest, ResetRowReportsEveryFieldAndKeepsTheRequest)
{
    m_backend.active = 5;
    m_controller.pickField(0);
    clipboard()->setText(QStringLiteral("value"));
    m_controller.pickField(2);
    m_fills.clear();
    m_controller.resetRow();
    EXPECT_EQ(m_fills, (Fills{{0, 0}, {1, 0}, {2, 1}}));
    EXPECT_EQ(value(0), "");
    EXPECT_EQ(value(2), "Paris");
    EXPECT_EQ(row().unsaved, 0);
    EXPECT_EQ(row().pendingField, 2);
    EXPECT_FALSE(m_controller.rowIsUnsaved());
    EXPECT_TRUE(m_controller.anyFieldHasValue());
}

TEST_F(CaptureControllerTest, LoadingATableEndsTheRequest)
{
    m_backend.active = 5;
    m_controller.pickField(2);
    TableDescription other = m_description;
    other.fieldCount = 1;
    ASSERT_TRUE(m_controller.tableLoaded(other));
    EXPECT_EQ(row().pendingField, -1);
    clipboard()->setText(QStringLiteral("nowhere"));
    EXPECT_EQ(value(0), "");
    m_controller.pickField(2); // no such field any more
    EXPECT_EQ(row().pendingField, -1);
}

TEST_F(CaptureControllerTest, LeavingTheNoticesStopsPicking)
{
    m_backend.active = 5;
    m_controller.pickField(0);
    m_controller.leaveClipboardNotices();
    clipboard()->setText(QStringLiteral("unseen"));
    EXPECT_EQ(value(0), "");
    m_controller.joinClipboardNotices();
    clipboard()->setText(QStringLiteral("seen"));
    EXPECT_EQ(value(0), "seen");
}

TEST_F(CaptureControllerTest, StatusTextAndCaptions)
{
    m_controller.showPickedText(std::string(74, 'x'), 1);
    EXPECT_EQ(m_status.text(), QString(74, QLatin1Char('x')));
    EXPECT_EQ(m_status.windowTitle(),
              QStringLiteral("quillon   - text you are picking up to \"Notes\""));
    m_controller.showPickedText(std::string(75, 'x'), -1);
    EXPECT_EQ(m_status.text(), QString(74, QLatin1Char('x')) + QStringLiteral("..."));
    EXPECT_EQ(m_status.windowTitle(), QStringLiteral("quillon   - text you are picking up"));
    // The window is written to whether it is shown or not.
    EXPECT_FALSE(m_status.isVisible());
}

TEST(StatusWindow, StartsHiddenAndReportsClosingByTheUser)
{
    StatusWindow status;
    EXPECT_EQ(status.windowTitle(), QStringLiteral("quillon: - data you are picking up"));
    EXPECT_FALSE(status.isVisible());
    int closed = 0;
    QObject::connect(&status, &StatusWindow::closedByUser, [&] { ++closed; });
    for (int key : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
        status.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&status));
        QTest::keyClick(&status, Qt::Key(key));
        EXPECT_FALSE(status.isVisible());
    }
    status.show();
    status.close();
    EXPECT_FALSE(status.isVisible());
    EXPECT_EQ(closed, 3);
}

TEST(StatusWindow, ShowsALongTextFromItsStartAndWhole)
{
    StatusWindow status;
    status.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&status));
    auto *line = status.findChild<QLineEdit *>(QStringLiteral("statusText"));
    ASSERT_NE(line, nullptr);
    std::string sentence;
    while (sentence.size() < 100)
        sentence += "Copied from the invoice of March, line 12: ";
    const std::string shown = statusLineText(sentence);
    ASSERT_EQ(shown.size(), 77u);
    status.showText(shown, "caption");
    EXPECT_EQ(line->cursorPosition(), 0);
    EXPECT_EQ(line->text(), QString::fromStdString(shown));
    // The line's room for text, inside its frame and margins, holds all 77 characters.
    const int frame = line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, line);
    const QMargins margins = line->textMargins();
    const int room = line->width() - 2 * frame - 4 - margins.left() - margins.right();
    EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), room);
}

TEST(NullCaptureBackend, SaysOnceThatCaptureIsUnavailableAndStillTakesHandCopies)
{
    NullCaptureBackend backend;
    RecordingSink messages;
    CaptureController controller(backend, messages);
    TableDescription description;
    description.fieldCount = 1;
    description.fields[0].title = "Name";
    description.fields[0].sqlType = 12;
    description.fields[0].length = 20;
    setValueWidths(description);
    ASSERT_TRUE(controller.tableLoaded(description));
    controller.resetRow();

    controller.pickField(0);
    controller.pickField(0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, CaptureUnavailableText);
    EXPECT_EQ(messages.shown[0].caption, "Quillon: Inform");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(controller.row().pendingField, 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("copied by hand"));
    EXPECT_EQ(controller.row().value[0], "copied by hand");
}

} // namespace
