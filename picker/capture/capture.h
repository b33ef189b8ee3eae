// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QClipboard>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"
#include "picker/capture/capturebackend.h"
#include "picker/capture/capturemode.h"
#include "picker/capture/pickedrow.h"

class QWidget;
class StatusWindow;

// Picking values from other applications into the row: the copy request on a field button, the
// clipboard notices that bring the text, and the row's flags that a picked value changes.
//
// The main window wires it up once:
//   backend = createCaptureBackend();  controller(*backend, messageSink, mainWindow);
//   setPickerWindow(mainWindow); setStatusWindow(statusWindow);
//   setFillStateSink(-> the field's button); the beep defaults to QApplication::beep
//   setCaptureMode(from the settings)
// and forwards to it: showPickedText(" ", -1) at the start of every command, pickField(i) for a
// field button's pick gesture, tableLoaded/resetRow/tableClosed with the table, and
// leaveClipboardNotices() when the window is destroyed. The row (value, previousValue, hasValue,
// unsaved) lives here: row() for the views and the insert.
class CaptureController : public QObject
{
    Q_OBJECT

public:
    // Field `field` now holds a value, or holds none.
    using FillStateSink = std::function<void(int field, bool filled)>;
    using BeepHook = std::function<void()>;

    CaptureController(CaptureBackend &backend, MessageSink &messages, QObject *parent = nullptr);
    ~CaptureController() override;

    // The picker's main window: its gaining the focus updates the capture target, and it and
    // its parent are never sent keys.
    void setPickerWindow(QWidget *window);
    void setStatusWindow(StatusWindow *window);
    void setFillStateSink(FillStateSink sink) { m_fillState = std::move(sink); }
    void setBeepHook(BeepHook beep) { m_beep = std::move(beep); }
    void setCaptureMode(CaptureMode mode) { m_mode = mode; }
    CaptureMode captureMode() const { return m_mode; }

    // A Table Description has been loaded (its value widths set): sizes the row for it and
    // clears a waiting request. Returns false when memory runs out. The description must stay
    // alive while it is the loaded one.
    bool tableLoaded(const TableDescription &description);
    // The table is closed: frees the row.
    void tableClosed();
    // The row from the fields' defaults; reports every field's fill state.
    void resetRow();

    // The field button i was clicked: send the copy request, then wait for field i. In the
    // selection mode, and for a terminal, field i takes what is selected at once instead. When
    // the copy brings nothing for a moment, a selection made in the target is taken in its
    // place; failing that the status window says that the field waits for a copy by hand.
    void pickField(int field);
    // A key combination asked for field i: the same pick, from the window that holds the focus
    // now, which keeps it: no focus change, so no wait for the window manager. Where one of our
    // own windows has the focus, or none is known, it is the click's pick.
    void pickFieldInPlace(int field);

    // Filling the row from a copied row of cells. The filler stores the values of the copied
    // text's cells in the row (neither hasValue nor unsaved) and returns the fields that took
    // one and what the status line shows.
    struct RowPick
    {
        std::vector<int> fields;
        std::string status;
    };
    using RowFiller = std::function<RowPick(std::string_view text)>;
    void setRowFiller(RowFiller filler) { m_rowFiller = std::move(filler); }
    // A pick whose text goes to the row filler instead of one field: from the window a click
    // would copy from, or with `inPlace` from the one that has the focus.
    void pickRow(bool inPlace);

    // Asks the target window to copy its selection: empties the clipboard, gives the target the
    // focus and types Ctrl+C. False when no keys were sent. A terminal is never sent them.
    bool copyFromTargetWindow(WindowId target);
    // Whether the window is a terminal, where Ctrl+C interrupts instead of copying: its program
    // holds a pseudo-terminal (terminal emulators, editors with a terminal panel), or its class
    // names a terminal emulator.
    bool isTerminal(WindowId window);
    // Takes what is selected (X11's PRIMARY selection) into `field` at once; a request that was
    // waiting ends. When nothing usable is selected, or only the very selection that an earlier
    // pick took, the field is unchanged and the status window says why. True when the field got
    // a new value.
    bool takeSelectedText(int field);
    // Takes the clipboard's plain text into `field`. True when the field got a new value.
    bool takeClipboardText(int field);
    // Shows a picked text in the status window; `field` -1 for none.
    void showPickedText(const std::string &text, int field);

    // Joining and leaving the clipboard notices; joined from construction.
    void joinClipboardNotices();
    void leaveClipboardNotices();

    PickedRow &row() { return m_row; }
    const PickedRow &row() const { return m_row; }
    bool rowIsUnsaved() const { return m_row.unsaved != 0; }
    bool anyFieldHasValue() const { return m_row.anyFieldHasValue(); }

public slots:
    // A clipboard notice: the awaited text may have arrived.
    void clipboardChanged();

signals:
    // A picked value has been stored in `field`.
    void valuePicked(int field);
    // A pick found nothing to take for `field` (nothing selected, nothing new selected, nothing
    // copied); the status window says why and what to do.
    void nothingToPick(int field);

private:
    enum class ClipboardContent
    {
        Nothing, // emptied: no owner and no content
        NoText,  // something that is not text, or an owner that does not answer
        Text,    // in the capture buffer
    };
    // Reads the clipboard's text into the capture buffer, cut to 32000 bytes.
    ClipboardContent readClipboard();
    // Reads the selection's text into the capture buffer, cut to 32000 bytes.
    ClipboardContent readSelection();
    // What a read by the backend brought into the capture buffer, cut to 32000 bytes; nothing
    // when Qt has to be asked instead.
    std::optional<ClipboardContent> takeBackendRead(CaptureBackend::ClipboardRead read);
    // Reads what Qt holds for the clipboard or the selection into the capture buffer.
    ClipboardContent readFromToolkit(QClipboard::Mode mode);
    // The copy request for a window that is not a terminal; `focusAsked` when the backend has
    // been asked to move the focus there already.
    bool sendCopyRequest(WindowId target, bool focusAsked, bool inPlace = false);
    // Field `field` has taken a new value: its fill state, the beep, the unsaved row.
    void valueArrived(int field);
    // Whether the clipboard's text, read into the capture buffer, was put there by a bystander:
    // neither the program asked to copy, nor the one where the user works, nor we.
    bool fromBystander();
    // Whether the text from a bystander is one that the clipboard held before: a clipboard
    // manager's refill of the emptied clipboard rather than the copy asked for.
    bool seenBefore() const;
    // Ends a request for `field` with the text in the capture buffer.
    void takeCopy(int field);
    // The copy has brought nothing for a while: takes a selection made in the target, or says
    // that the field waits.
    void copyBroughtNothing();
    // No window is known to send the copy keys to: says so, and `field` waits for a copy by hand.
    void waitForCopyByHand(int field);
    // No copy from the target has come after a bystander's text: it is the copy after all.
    void takeBystanderText();
    // Stops the waits of a copy request.
    void stopWaiting();
    // Reads the selection and takes it into `field` unless an earlier pick took that very
    // selection; `prefix` goes before the text in the status line.
    enum class SelectionPick
    {
        Taken,
        Repeated, // the selection that an earlier pick took
        Nothing,  // nothing usable is selected
    };
    SelectionPick pickSelection(int field, bool onlyFromTarget, const char *prefix);
    // Keeps a fingerprint of a text that the clipboard held, among the last ones seen.
    void rememberSeen(std::string_view text);
    // Once after each emptying: remembers the text that the clipboard held before it.
    void rememberTextBefore();
    // Cleans the capture buffer and stores it in `field`; true when the field got a value. The
    // status line shows the text after `prefix`, if any.
    bool takeCapturedText(int field, const char *prefix = nullptr);
    void focusWindowChanged();
    // The text of a row pick, in the capture buffer, to the row filler; true when a field took
    // a value.
    bool takeRowText(const char *prefix);
    // The fields of a row pick have taken their values: fill states, one beep for any value
    // replaced, the unsaved row.
    void rowArrived();
    void reportUnavailable();

    CaptureBackend &m_backend;
    MessageSink &m_messages;
    QClipboard *m_clipboard;
    QPointer<QWidget> m_picker;
    QPointer<StatusWindow> m_status;
    FillStateSink m_fillState;
    BeepHook m_beep;
    CaptureMode m_mode = CaptureMode::Copy;
    const TableDescription *m_description = nullptr;
    PickedRow m_row;
    std::string m_capture; // the capture buffer, room for a whole capture
    // The text the clipboard held when the last copy request emptied it is still to be asked
    // for; the room for it.
    bool m_askTextBefore = false;
    std::string m_textBefore;
    // Fingerprints (hashes: no copies are kept) of the last texts the clipboard was seen to hold:
    // the texts picked, and those there when a copy request emptied the clipboard.
    std::array<std::size_t, 16> m_seen{};
    std::size_t m_nextSeen = 0;
    // Which selection the last pick from the selection took, and which one was read last.
    CaptureBackend::SelectionStamp m_takenSelection;
    CaptureBackend::SelectionStamp m_readSelection;
    ClipboardContent m_lastSelectionRead = ClipboardContent::Nothing;
    // After the copy keys: how long the copy may bring nothing before the selection is tried.
    QTimer m_copyWait;
    // A bystander's text waits in m_bystanderText while the copy may still come from the target.
    QTimer m_bystanderWait;
    std::string m_bystanderText;
    bool m_hasBystanderText = false;
    bool m_joined = false;
    bool m_toldUnavailable = false;
    RowFiller m_rowFiller;
    // A row pick has been asked for, and is waiting; the fields its text filled.
    bool m_rowRequested = false;
    bool m_rowPending = false;
    std::vector<int> m_rowFields;
};

// The text that tells the user that other applications cannot be reached in this session.
extern const char *const CaptureUnavailableText;
// What the status window shows when a pick from the selection finds nothing selected, or only
// blanks; and when what is selected is not text.
extern const char *const NothingSelectedText;
extern const char *const SelectionNotTextText;
// What the status window shows when the selection is the very one that an earlier pick took.
extern const char *const NothingNewSelectedText;
// What it shows when the copy brought nothing and the field waits for a copy by hand; and before
// a text that came from the selection in the copy's place.
extern const char *const NothingCopiedText;
extern const char *const FromSelectionText;
// What it shows when no window is known to send the copy keys to, and the field waits for a
// copy by hand.
extern const char *const NoTargetText;
