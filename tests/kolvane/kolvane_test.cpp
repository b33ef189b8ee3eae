// SPDX-License-Identifier: MIT
#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "kolvane/kolvane.h"

namespace {

ButtonRecord buttonRecord(int image, int command, std::uint8_t style, const char *label,
                          std::int32_t valueState = 0, std::uint8_t state = TBSTATE_ENABLED)
{
    ButtonRecord record{};
    record.image = image;
    record.command = command;
    record.state = state;
    record.style = style;
    std::strncpy(record.label, label, sizeof(record.label) - 1);
    record.valueState = valueState;
    return record;
}

// The picker's buttons for three fields: the fields, a separator, "Enter".
std::vector<ButtonRecord> pickerButtons()
{
    return {buttonRecord(1, 401, TBSTYLE_BUTTON, "Name"),
            buttonRecord(1, 402, TBSTYLE_BUTTON, "Street"),
            buttonRecord(1, 403, TBSTYLE_BUTTON, "Birthday"),
            buttonRecord(-1, 502, TBSTYLE_SEP, ""),
            buttonRecord(0, 501, TBSTYLE_BUTTON, "Enter", TBFILL_ENTER)};
}

std::vector<int> commands(const KolvaneToolbar *toolbar)
{
    std::vector<int> commands;
    for (int i = 0; i < toolbar->buttonCount(); ++i)
        commands.push_back(toolbar->record(i).command);
    return commands;
}

void mouse(QWidget *widget, QEvent::Type type, Qt::MouseButton button, QPoint pos = {})
{
    if (pos.isNull())
        pos = widget->rect().center();
    Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Counts the paint events a widget receives.
struct PaintCounter : QObject
{
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

QImage render(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class Kolvane : public ::testing::Test
{
protected:
    // A parent the size of the picker's client area for three fields, in a column.
    void create(int orientation)
    {
        parent = std::make_unique<QWidget>();
        parent->resize(orientation == 0 ? QSize(68, 131) : QSize(291, 27));
        records = pickerButtons();
        toolbar = createToolbar(parent.get(), TBS_VISIBLE, 400, 30, nullptr, 103, records.data(),
                                static_cast<int>(records.size()), orientation);
        ASSERT_NE(toolbar, nullptr);
        parent->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get()));
    }

    QAbstractButton *button(int position)
    {
        return qobject_cast<QAbstractButton *>(toolbar->buttonWidget(position));
    }

    std::unique_ptr<QWidget> parent;
    std::vector<ButtonRecord> records;
    KolvaneToolbar *toolbar = nullptr;
};

TEST_F(Kolvane, ColumnAndRowLayouts)
{
    create(0);
    EXPECT_EQ(toolbar->geometry(), QRect(0, 0, 68, 131));
    EXPECT_EQ(toolbar->controlId(), 400);
    const QRect column[] = {
        {2, 2, 64, 22}, {2, 26, 64, 22}, {2, 50, 64, 22}, {2, 74, 64, 8}, {2, 82, 64, 22}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(toolbar->buttonWidget(i)->geometry(), column[i]) << "button " << i;

    // The picker turns the control and its window, then tells the control to fit.
    EXPECT_EQ(sendToolbarMessage(toolbar, TBM_SETORIENTATION, 1, 0), 1);
    parent->resize(291, 27);
    EXPECT_EQ(sendToolbarMessage(toolbar, WM_SIZE, 0, 0), 1);
    EXPECT_EQ(toolbar->geometry(), QRect(0, 0, 291, 27));
    const QRect row[] = {
        {2, 2, 62, 23}, {66, 2, 62, 23}, {130, 2, 62, 23}, {194, 2, 8, 23}, {202, 2, 62, 23}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(toolbar->buttonWidget(i)->geometry(), row[i]) << "button " << i;
}

// A word's worth of bits: a value an int cannot hold whose low bits are small.
constexpr quintptr Beyond32Bits = sizeof(quintptr) > 4 ? (quintptr{1} << 32) : 0;

TEST_F(Kolvane, RowFromTheStart)
{
    create(7); // any non-zero orientation is a row
    EXPECT_EQ(toolbar->orientation(), Orientation::Row);
    EXPECT_EQ(toolbar->buttonWidget(4)->geometry(), QRect(202, 2, 62, 23));

    sendToolbarMessage(toolbar, TBM_SETORIENTATION, 0, 0);
    EXPECT_EQ(toolbar->orientation(), Orientation::Column);
    if (Beyond32Bits != 0) {
        sendToolbarMessage(toolbar, TBM_SETORIENTATION, Beyond32Bits, 0);
        EXPECT_EQ(toolbar->orientation(), Orientation::Row);
    }
}

TEST_F(Kolvane, KeepsItsOwnCopiesOfTheRecords)
{
    create(0);
    std::strcpy(records[0].label, "Changed");
    records[0].command = 999;
    records.clear();
    records.shrink_to_fit();
    ButtonRecord kept = toolbar->record(0);
    EXPECT_EQ(kept.command, 401);
    EXPECT_STREQ(kept.label, "Name");
    EXPECT_EQ(button(0)->text(), QStringLiteral("Name"));
}

TEST_F(Kolvane, LabelWithoutTerminatorIsCutInsideItsBuffer)
{
    create(0);
    ButtonRecord record = buttonRecord(1, 410, TBSTYLE_BUTTON, "");
    std::memset(record.label, 'x', sizeof(record.label));
    EXPECT_EQ(sendToolbarMessage(toolbar, TBM_INSERTBUTTON, 0, reinterpret_cast<qintptr>(&record)),
              1);
    EXPECT_EQ(button(0)->text(), QString(33, QLatin1Char('x')));
}

TEST_F(Kolvane, InsertAndDeleteByPosition)
{
    create(0);
    ButtonRecord extra = buttonRecord(1, 404, TBSTYLE_BUTTON, "City");
    EXPECT_EQ(sendToolbarMessage(toolbar, TBM_INSERTBUTTON, 1, reinterpret_cast<qintptr>(&extra)),
              1);
    EXPECT_EQ(commands(toolbar), (std::vector<int>{401, 404, 402, 403, 502, 501}));
    EXPECT_EQ(toolbar->buttonWidget(2)->geometry(), QRect(2, 50, 64, 22));
    // The inserted button is a copy: the record may change or go afterwards.
    std::strcpy(extra.label, "Town");
    EXPECT_STREQ(toolbar->record(1).label, "City");
    EXPECT_EQ(button(1)->text(), QStringLiteral("City"));

    EXPECT_EQ(sendToolbarMessage(toolbar, TBM_DELETEBUTTON, 0, 0), 1);
    EXPECT_EQ(commands(toolbar), (std::vector<int>{404, 402, 403, 502, 501}));
    EXPECT_EQ(toolbar->buttonWidget(0)->geometry(), QRect(2, 2, 64, 22));

    // Out of range or without a record: refused, nothing changes.
    EXPECT_EQ(sendToolbarMessage(toolbar, TBM_DELETEBUTTON, 5, 0), 0);
    EXPECT_EQ(sendToolbarMessage(toolbar, TBM_INSERTBUTTON, 0, 0), 0);
    EXPECT_EQ(toolbar->buttonCount(), 5);
    // A position past the end appends.
    EXPECT_EQ(sendToolbarMessage(toolbar, TBM_INSERTBUTTON, 99, reinterpret_cast<qintptr>(&extra)),
              1);
    EXPECT_EQ(toolbar->record(5).command, 404);

    // Positions beyond an int's range lie past the end, whatever their low bits.
    if (Beyond32Bits != 0) {
        EXPECT_EQ(sendToolbarMessage(toolbar, TBM_DELETEBUTTON, Beyond32Bits + 1, 0), 0);
        ButtonRecord last = buttonRecord(1, 405, TBSTYLE_BUTTON, "Last");
        EXPECT_EQ(sendToolbarMessage(toolbar, TBM_INSERTBUTTON, Beyond32Bits,
                                     reinterpret_cast<qintptr>(&last)),
                  1);
        EXPECT_EQ(commands(toolbar), (std::vector<int>{404, 402, 403, 502, 501, 404, 405}));
    }
}

TEST_F(Kolvane, ReplacingTheFieldsAsTheLoadCommandDoes)
{
    create(0);
    // Delete the old fields from the last down to 0, insert the new ones from 0 up.
    for (int position = 2; position >= 0; --position)
        ASSERT_EQ(sendToolbarMessage(toolbar, TBM_DELETEBUTTON, static_cast<quintptr>(position), 0),
                  1);
    std::vector<ButtonRecord> fields{buttonRecord(1, 401, TBSTYLE_BUTTON, "A"),
                                     buttonRecord(1, 402, TBSTYLE_BUTTON, "B")};
    for (int position = 0; position < 2; ++position)
        ASSERT_EQ(sendToolbarMessage(toolbar, TBM_INSERTBUTTON, static_cast<quintptr>(position),
                                     reinterpret_cast<qintptr>(&fields[position])),
                  1);
    EXPECT_EQ(commands(toolbar), (std::vector<int>{401, 402, 502, 501}));
    EXPECT_EQ(button(1)->text(), QStringLiteral("B"));
    EXPECT_EQ(toolbar->buttonWidget(2)->geometry(), QRect(2, 50, 64, 8));
}

TEST_F(Kolvane, FillStatesHaveFourDifferentLooks)
{
    create(0);
    // The same label in each state, so that only the look differs.
    ButtonRecord probe = buttonRecord(1, 450, TBSTYLE_BUTTON, "Probe");
    sendToolbarMessage(toolbar, TBM_INSERTBUTTON, 0, reinterpret_cast<qintptr>(&probe));
    std::vector<QImage> looks;
    for (std::int32_t state : {TBFILL_EMPTY, TBFILL_FILLED, TBFILL_ENTER, TBFILL_ENTER2}) {
        EXPECT_EQ(sendToolbarMessage(toolbar, TBM_SETFILLSTATE, 450, state), 1);
        EXPECT_EQ(toolbar->record(0).valueState, state);
        looks.push_back(render(toolbar->buttonWidget(0)));
    }
    for (std::size_t a = 0; a < looks.size(); ++a)
        for (std::size_t b = a + 1; b < looks.size(); ++b)
            EXPECT_NE(looks[a], looks[b]) << "states " << a << " and " << b;

    EXPECT_EQ(sendToolbarMessage(toolbar, TBM_SETFILLSTATE, 777, 1), 0) << "no such command";
    EXPECT_EQ(sendToolbarMessage(toolbar, 0x999, 0, 0), 0) << "unknown message";
}

TEST_F(Kolvane, EightCharacterLabelShownWhole)
{
    for (int orientation : {0, 1}) {
        create(orientation);
        for (const char *label : {"WWWWWWWW", "Birthday", "MMMMMMMM"}) {
            ButtonRecord record = buttonRecord(1, 460, TBSTYLE_BUTTON, label);
            sendToolbarMessage(toolbar, TBM_INSERTBUTTON, 0, reinterpret_cast<qintptr>(&record));
            QImage look = render(toolbar->buttonWidget(0));
            // Text pixels are dark; none may reach the bevel or beyond. The image has the
            // screen's pixels, `scale` to a pixel of the widget.
            const int scale = qRound(look.devicePixelRatio());
            int left = look.width(), right = -1;
            for (int y = 2 * scale; y < look.height() - 2 * scale; ++y)
                for (int x = 0; x < look.width() - scale; ++x)
                    if (qGray(look.pixel(x, y)) < 96) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            ASSERT_GE(right, 0) << label << ": no text";
            EXPECT_GE(left, 3 * scale) << label << " in orientation " << orientation;
            EXPECT_LE(right, look.width() - 4 * scale)
                << label << " in orientation " << orientation;
            sendToolbarMessage(toolbar, TBM_DELETEBUTTON, 0, 0);
        }
    }
}

TEST_F(Kolvane, ClickAndSecondActivation)
{
    create(0);
    QSignalSpy spy(toolbar, &KolvaneToolbar::commandActivated);
    QAbstractButton *field = button(1);

    QTest::mouseClick(field, Qt::LeftButton);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 402);
    EXPECT_EQ(spy.at(0).at(1).value<Gesture>(), Gesture::Pick);

    mouse(field, QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_TRUE(field->isDown());
    mouse(field, QEvent::MouseButtonRelease, Qt::RightButton);
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 402);
    EXPECT_EQ(spy.at(1).at(1).value<Gesture>(), Gesture::Edit);

    // Either button: the press draws nothing before it returns (the release of a touchpad's tap
    // comes with it, and starts the pick); slid off and back on, the button is let go and pressed
    // again; released outside, nothing.
    PaintCounter paints(field);
    const QPoint outside(field->width() + 5, field->height() / 2);
    for (const Qt::MouseButton held : {Qt::LeftButton, Qt::RightButton}) {
        paints.count = 0;
        mouse(field, QEvent::MouseButtonPress, held);
        EXPECT_TRUE(field->isDown()) << held;
        EXPECT_EQ(paints.count, 0) << held;
        mouse(field, QEvent::MouseMove, held, outside);
        EXPECT_FALSE(field->isDown()) << held;
        mouse(field, QEvent::MouseMove, held);
        EXPECT_TRUE(field->isDown()) << held;
        mouse(field, QEvent::MouseMove, held, outside);
        mouse(field, QEvent::MouseButtonRelease, held, outside);
        EXPECT_FALSE(field->isDown()) << held;
        EXPECT_EQ(spy.size(), 2) << held;
    }

    // "Enter" and its second activation.
    QTest::mouseClick(button(4), Qt::LeftButton);
    mouse(button(4), QEvent::MouseButtonPress, Qt::RightButton);
    mouse(button(4), QEvent::MouseButtonRelease, Qt::RightButton);
    ASSERT_EQ(spy.size(), 4);
    EXPECT_EQ(spy.at(2).at(0).toInt(), 501);
    EXPECT_EQ(spy.at(2).at(1).value<Gesture>(), Gesture::Pick);
    EXPECT_EQ(spy.at(3).at(0).toInt(), 501);
    EXPECT_EQ(spy.at(3).at(1).value<Gesture>(), Gesture::Edit);
}

TEST_F(Kolvane, SeparatorAndDisabledButtonsStayQuiet)
{
    create(0);
    ButtonRecord disabled = buttonRecord(1, 420, TBSTYLE_BUTTON, "Off", 0, 0);
    sendToolbarMessage(toolbar, TBM_INSERTBUTTON, 0, reinterpret_cast<qintptr>(&disabled));
    QSignalSpy spy(toolbar, &KolvaneToolbar::commandActivated);
    QTest::mouseClick(toolbar->buttonWidget(0), Qt::LeftButton);
    QTest::mouseClick(toolbar->buttonWidget(4), Qt::LeftButton); // the separator
    mouse(toolbar->buttonWidget(4), QEvent::MouseButtonPress, Qt::RightButton);
    mouse(toolbar->buttonWidget(4), QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(spy.size(), 0);
    EXPECT_FALSE(toolbar->buttonWidget(0)->isEnabled());
}

TEST_F(Kolvane, KeyboardReachesTheButtons)
{
    create(0);
    parent->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
    QSignalSpy spy(toolbar, &KolvaneToolbar::commandActivated);
    EXPECT_EQ(toolbar->buttonWidget(0)->focusPolicy(), Qt::TabFocus);
    EXPECT_EQ(toolbar->buttonWidget(3)->focusPolicy(), Qt::NoFocus);

    button(2)->setFocus();
    QTest::keyClick(button(2), Qt::Key_Space);
    QTest::keyClick(button(2), Qt::Key_F10, Qt::ShiftModifier);
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(1, 1),
                              button(2)->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(button(2), &menuKey);
    ASSERT_EQ(spy.size(), 3);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 403);
    EXPECT_EQ(spy.at(0).at(1).value<Gesture>(), Gesture::Pick);
    EXPECT_EQ(spy.at(1).at(1).value<Gesture>(), Gesture::Edit);
    EXPECT_EQ(spy.at(2).at(1).value<Gesture>(), Gesture::Edit);

    // Tab moves on past the separator to "Enter", where Return clicks.
    QTest::keyClick(button(2), Qt::Key_Tab);
    EXPECT_TRUE(button(4)->hasFocus());
    QTest::keyClick(button(4), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&spy] { return spy.size() == 4; }));
    EXPECT_EQ(spy.at(3).at(0).toInt(), 501);
    EXPECT_EQ(spy.at(3).at(1).value<Gesture>(), Gesture::Pick);
}

// Return goes to whatever holds the focus: after the window's activation, and after a click,
// that is never a button, so Return presses nothing.
TEST_F(Kolvane, ActivationAndClicksLeaveNoButtonWithTheFocus)
{
    create(0);
    parent->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
    QSignalSpy spy(toolbar, &KolvaneToolbar::commandActivated);
    // Return on a button presses it down at once, its click following later.
    auto returnPressesNothing = [this] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        for (int i = 0; i < toolbar->buttonCount(); ++i)
            EXPECT_FALSE(button(i)->isDown()) << i;
    };
    EXPECT_EQ(QApplication::focusWidget(), toolbar);
    returnPressesNothing();

    // Tab reached a button, then the user clicked another one.
    button(2)->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(button(1), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), toolbar);
    returnPressesNothing();
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 402);
}

TEST_F(Kolvane, AmpersandInALabelIsShownAndIsNoShortcut)
{
    create(0);
    parent->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
    for (const char *label : {"R&D", "x& y"}) {
        ButtonRecord record = buttonRecord(1, 470, TBSTYLE_BUTTON, label);
        sendToolbarMessage(toolbar, TBM_INSERTBUTTON, 0, reinterpret_cast<qintptr>(&record));
        EXPECT_EQ(button(0)->text(), QString::fromLatin1(label));
        EXPECT_TRUE(button(0)->shortcut().isEmpty()) << label;
        sendToolbarMessage(toolbar, TBM_DELETEBUTTON, 0, 0);
    }
    ButtonRecord record = buttonRecord(1, 470, TBSTYLE_BUTTON, "R&D");
    sendToolbarMessage(toolbar, TBM_INSERTBUTTON, 0, reinterpret_cast<qintptr>(&record));
    // A mnemonic would press the button at once, its click following later.
    QTest::keyClick(parent.get(), Qt::Key_D, Qt::AltModifier);
    EXPECT_FALSE(button(0)->isDown());
}

TEST_F(Kolvane, FollowsItsParentsSize)
{
    create(0);
    parent->resize(100, 300);
    EXPECT_EQ(toolbar->geometry(), QRect(0, 0, 100, 300));
    EXPECT_EQ(toolbar->buttonWidget(0)->geometry(), QRect(2, 2, 96, 22));
}

TEST_F(Kolvane, ButtonDeletedWhileItsClickIsHandled)
{
    create(0);
    QObject::connect(toolbar, &KolvaneToolbar::commandActivated, toolbar,
                     [this](int, Gesture) { sendToolbarMessage(toolbar, TBM_DELETEBUTTON, 0, 0); });
    QTest::mouseClick(toolbar->buttonWidget(0), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(commands(toolbar), (std::vector<int>{402, 403, 502, 501}));
}

TEST(KolvaneStrip, ImagesComeFromBitmapResource103)
{
    QWidget parent;
    KolvaneToolbar *toolbar = createToolbar(&parent, 0, 400, 30, nullptr, 103, nullptr, 0, 0);
    EXPECT_EQ(QPixmap(QStringLiteral(":/bitmaps/103")).size(), QSize(600, 16));
    EXPECT_EQ(toolbar->image(0).size(), QSize(20, 16));
    EXPECT_EQ(toolbar->image(29).size(), QSize(20, 16));
    EXPECT_TRUE(toolbar->image(30).isNull());
    EXPECT_TRUE(toolbar->image(-1).isNull());
    EXPECT_FALSE(toolbar->isVisibleTo(&parent)) << "not shown without the visible style";
    EXPECT_EQ(sendToolbarMessage(&parent, WM_SIZE, 0, 0), 0) << "not a toolbar";
}

} // namespace
