// SPDX-License-Identifier: MIT
#pragma once

// libkolvane: a toolbar control of push buttons and separators, laid out in a column or a row,
// driven by numbered messages.
//
// Activation: a click with the left mouse button (or Space / Return on a button that has the
// keyboard focus) sends commandActivated(command, Gesture::Pick). A click with the right mouse
// button (or Shift+F10 / the Menu key on a focused button) sends commandActivated(command,
// Gesture::Edit): the second kind of activation of the same button. Buttons take the keyboard focus
// from Tab only: a window that becomes active gives the focus to the control itself, where keys
// press nothing, and a click on a button takes the focus off any button that Tab had reached.

#include <QList>
#include <QPixmap>
#include <QWidget>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#if defined(KOLVANE_LIBRARY)
#define KOLVANE_EXPORT Q_DECL_EXPORT
#else
#define KOLVANE_EXPORT Q_DECL_IMPORT
#endif

// One button as handed to the control: 48 bytes, little-endian, in arrays and one by one.
struct ButtonRecord
{
    std::int32_t image;      // index in the image strip, -1 for a separator
    std::int32_t command;    // command identifier
    std::uint8_t state;      // TBSTATE_ENABLED for an enabled button
    std::uint8_t style;      // TBSTYLE_BUTTON or TBSTYLE_SEP
    char label[34];          // NUL-terminated
    std::int32_t valueState; // TBFILL_*
};

static_assert(std::endian::native == std::endian::little, "records are exchanged little-endian");
static_assert(std::is_standard_layout_v<ButtonRecord> &&
              std::is_trivially_copyable_v<ButtonRecord>);
static_assert(sizeof(ButtonRecord) == 48);
static_assert(offsetof(ButtonRecord, image) == 0);
static_assert(offsetof(ButtonRecord, command) == 4);
static_assert(offsetof(ButtonRecord, state) == 8);
static_assert(offsetof(ButtonRecord, style) == 9);
static_assert(offsetof(ButtonRecord, label) == 10);
static_assert(offsetof(ButtonRecord, valueState) == 44);

inline constexpr std::uint8_t TBSTATE_ENABLED = 4;
inline constexpr std::uint8_t TBSTYLE_BUTTON = 0;
inline constexpr std::uint8_t TBSTYLE_SEP = 1;

// Value states, each with a look of its own.
inline constexpr std::int32_t TBFILL_EMPTY = 0;  // a field without a value
inline constexpr std::int32_t TBFILL_FILLED = 1; // a field holding a value
inline constexpr std::int32_t TBFILL_ENTER = 2;  // "Enter", first look
inline constexpr std::int32_t TBFILL_ENTER2 = 3; // "Enter", second look

// The two ways of activating a button.
enum class Gesture
{
    Pick, // the left click, Space or Return
    Edit, // the right click, Shift+F10 or the Menu key
};

// The buttons in a column or in a row. Messages and createToolbar() say 0 for a column and any
// other number for a row.
enum class Orientation
{
    Column,
    Row,
};

// Messages, the control's C-like boundary; C++ callers use the methods of KolvaneToolbar.
inline constexpr unsigned WM_SIZE = 0x0005;              // (0, 0): fit to the parent
inline constexpr unsigned TBM_INSERTBUTTON = 0x415;      // (position, const ButtonRecord *)
inline constexpr unsigned TBM_DELETEBUTTON = 0x416;      // (position, 0)
inline constexpr unsigned TBM_SETFILLSTATE = 0x41A;      // (command, value state)
inline constexpr unsigned TBM_SETORIENTATION = 0x41C;    // (0 column / 1 row, 0)
inline constexpr std::uint32_t TBS_VISIBLE = 0x10000000; // style bit: shown at creation

// Button sizes in pixels: a column is 24 pixels per button, a row 64.
inline constexpr int KolvaneMargin = 2;
inline constexpr int KolvaneColumnPitch = 24;
inline constexpr int KolvaneRowPitch = 64;
inline constexpr int KolvaneButtonGap = 2;
inline constexpr int KolvaneSeparatorSize = 8;

class KolvaneButton;

class KOLVANE_EXPORT KolvaneToolbar : public QWidget
{
    Q_OBJECT

public:
    KolvaneToolbar(QWidget *parent, int controlId, QPixmap strip, int imageCount,
                   Orientation orientation);
    ~KolvaneToolbar() override;

    // Handles one message; the result is 1 when it was carried out, 0 when not.
    qintptr sendMessage(unsigned message, quintptr wParam, qintptr lParam);

    int controlId() const { return m_controlId; }
    Orientation orientation() const { return m_orientation; }
    int buttonCount() const { return static_cast<int>(m_buttons.size()); }
    // The control's own copy of the record at a position.
    ButtonRecord record(int position) const;
    // The button widget at a position (separators included).
    QWidget *buttonWidget(int position) const;
    // The image of the strip at an index, or a null pixmap.
    QPixmap image(int index) const;
    // Takes the strip from a file or resource when an image is first drawn, so that the
    // toolbar comes up without waiting for the image reader (which looks through its plugins
    // first).
    void setStripSource(const QString &path);

    // Inserts a copy of `record` before `position` (clamped to the ends).
    void insertButton(int position, const ButtonRecord &record);
    // False when there is no button at `position`.
    bool deleteButton(int position);
    // Gives every button of `command` a value state (TBFILL_*): its look. False when none has it.
    bool setFillState(int command, std::int32_t valueState);
    void setOrientation(Orientation orientation);
    // Fits the control to its parent's client area and lays the buttons out.
    void fitToParent();

    QSize sizeHint() const override;

signals:
    void commandActivated(int commandId, Gesture gesture);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void layoutButtons();

    int m_controlId = 0;
    Orientation m_orientation = Orientation::Column;
    int m_imageCount = 0;
    mutable QPixmap m_strip;
    mutable QString m_stripSource;
    QList<KolvaneButton *> m_buttons;
};

// Creates the control as a child of `parent`, with copies of `count` records. `moduleHandle`
// may be null; images come from the resource ":/bitmaps/<bitmapResource>", a strip of
// `imageCount` images side by side. Orientation 0 puts the buttons in a column, any other value
// in a row.
KOLVANE_EXPORT KolvaneToolbar *createToolbar(QWidget *parent, quint32 style, int controlId,
                                             int imageCount, void *moduleHandle, int bitmapResource,
                                             const ButtonRecord *records, int count,
                                             int orientation);

// Sends a message to a control made by createToolbar; 0 for anything else.
KOLVANE_EXPORT qintptr sendToolbarMessage(QWidget *control, unsigned message, quintptr wParam,
                                          qintptr lParam);
