// SPDX-License-Identifier: MIT
#include "picker/capture/capture.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "fieldvalues/sqltypes.h"
#include "fieldvalues/text.h"
#include "fieldvalues/usertext.h"
#include "picker/capture/capturetext.h"
#include "picker/capture/pseudoterminal.h"
#include "picker/capture/statuswindow.h"
#include "picker/capture/terminals.h"

const char *const CaptureUnavailableText = USER_TEXT(
    "Capture", "Picking text from other applications is not available in this session: the "
               "windowing system does not let Quillon reach other applications' windows.\nCopy "
               "the text there by hand (Ctrl+C); it goes into the field you clicked.");

const char *const NothingSelectedText = USER_TEXT(
    "Capture", "Nothing is selected: select the text first, then click the field's button.");
const char *const SelectionNotTextText =
    USER_TEXT("Capture", "The selection holds no text: select some text, then click again.");
const char *const NothingNewSelectedText = USER_TEXT(
    "Capture", "Nothing new is selected: select by dragging, double click or Shift+arrows.");
const char *const NothingCopiedText = USER_TEXT(
    "Capture", "Nothing was copied: until another click, the next text you copy goes here.");
const char *const FromSelectionText =
    USER_TEXT("Capture", "From the selection (nothing was copied): ");
const char *const NoTargetText = USER_TEXT(
    "Capture", "Quillon cannot reach that window: copy with Ctrl+C, the text comes here.");

namespace {

// Read a few bytes past the limit so that the cut to it can keep a character whole.
constexpr std::size_t ReadSlack = 8;

// How long after the copy keys a copy that has brought nothing counts as none. Programs copy
// within a few milliseconds; a heavy one may need a tenth of a second for a large selection.
constexpr std::chrono::milliseconds CopyWait{500};
// How long a pick waits at once for the copy before it leaves it to the clipboard's notice.
constexpr std::chrono::milliseconds QuickCopyWait{20};
// How long a bystander's text waits for the target's own copy. A clipboard manager refills the
// emptied clipboard before the target has even been sent the keys, so the copy follows within
// about the time a copy takes; a copy made by a helper process (Wine) is taken this much later.
constexpr std::chrono::milliseconds BystanderWait{500};

} // namespace

CaptureController::CaptureController(CaptureBackend &backend, MessageSink &messages,
                                     QObject *parent)
    : QObject(parent), m_backend(backend), m_messages(messages),
      m_clipboard(QGuiApplication::clipboard())
{
    m_capture.reserve(MaxCaptureLength + ReadSlack + 2);
    m_textBefore.reserve(MaxCaptureLength + ReadSlack + 2);
    m_bystanderText.reserve(MaxCaptureLength + ReadSlack + 2);
    m_copyWait.setSingleShot(true);
    m_copyWait.setInterval(CopyWait);
    connect(&m_copyWait, &QTimer::timeout, this, &CaptureController::copyBroughtNothing);
    m_bystanderWait.setSingleShot(true);
    m_bystanderWait.setInterval(BystanderWait);
    connect(&m_bystanderWait, &QTimer::timeout, this, &CaptureController::takeBystanderText);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &CaptureController::focusWindowChanged);
    joinClipboardNotices();
    m_backend.onClipboardChange([this] {
        if (m_joined)
            clipboardChanged();
    });
}

CaptureController::~CaptureController()
{
    m_backend.onClipboardChange({});
    leaveClipboardNotices();
}

void CaptureController::setPickerWindow(QWidget *window)
{
    m_picker = window;
}

void CaptureController::setStatusWindow(StatusWindow *window)
{
    m_status = window;
}

void CaptureController::joinClipboardNotices()
{
    if (m_joined)
        return;
    connect(m_clipboard, &QClipboard::dataChanged, this, &CaptureController::clipboardChanged);
    m_joined = true;
}

void CaptureController::leaveClipboardNotices()
{
    if (!m_joined)
        return;
    disconnect(m_clipboard, &QClipboard::dataChanged, this, &CaptureController::clipboardChanged);
    m_joined = false;
}

bool CaptureController::tableLoaded(const TableDescription &description)
{
    m_description = nullptr;
    if (!m_row.allocate(description))
        return false;
    m_description = &description;
    return true;
}

void CaptureController::tableClosed()
{
    m_row.release();
    m_description = nullptr;
}

void CaptureController::resetRow()
{
    if (m_description == nullptr)
        return;
    m_row.reset(*m_description);
    for (int i = 0; i < m_row.fieldCount; ++i) {
        if (m_fillState)
            m_fillState(i, m_row.hasValue[static_cast<std::size_t>(i)] != 0);
    }
}

void CaptureController::focusWindowChanged()
{
    // The window that handed the focus to the picker is where the next copy request goes; the
    // backend knows it, leaving out our own windows.
    if (m_picker == nullptr)
        return;
    const QWindow *focus = QGuiApplication::focusWindow();
    if (focus != nullptr && focus == m_picker->window()->windowHandle())
        m_row.captureTarget = m_backend.activeBeforeUs();
}

void CaptureController::pickField(int field)
{
    if (field < 0 || field >= m_row.fieldCount)
        return;
    m_rowPending = std::exchange(m_rowRequested, false);
    stopWaiting();
    if (m_mode == CaptureMode::Selection) {
        takeSelectedText(field);
        return;
    }
    // Without a window manager the picker may never receive the focus, so the window that
    // held it is asked for here as well. Where the backend knows that none of the windows it
    // reaches was the last before ours (a Wayland-native one was, under XWayland), neither the
    // target of an earlier pick nor the window at the centre is where the user works.
    const bool outOfReach = m_backend.knowsNoneBefore();
    if (WindowId before = m_backend.activeBeforeUs(); before != 0 || outOfReach)
        m_row.captureTarget = before;
    if (m_row.captureTarget == 0 && !outOfReach) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            const QRect area = screen->availableGeometry();
            m_row.captureTarget =
                m_backend.windowAt(area.x() + area.width() / 2, area.y() + area.height() / 2);
        }
    }
    const WindowId target = m_row.captureTarget;
    if (target == 0 && m_backend.available()) {
        waitForCopyByHand(field);
        return;
    }
    // The window manager moves the focus back while the target is looked at and the clipboard
    // is emptied.
    const bool focusAsked = m_backend.available() && target != 0 && !isOwnWindow(target) &&
                            m_backend.requestFocus(target);
    // Ctrl+C in a terminal interrupts the program running there: what the user selected in it
    // is the selection. The terminal gets the focus back all the same, as after a copy.
    if (isTerminal(target)) {
        takeSelectedText(field);
        if (focusAsked)
            m_backend.awaitFocus();
        return;
    }
    const bool sent = sendCopyRequest(target, focusAsked);
    // Only now does the field wait. The notice of the emptying above either came inside it or
    // finds the clipboard without an owner: neither is taken as the awaited text.
    m_row.pendingField = field;
    m_copyWait.start();
    // Most programs copy within a millisecond or two: heard here, the copy is taken without
    // waiting for its notice to come round the event loop.
    if (sent && m_backend.waitForCopy(QuickCopyWait))
        clipboardChanged();
}

void CaptureController::waitForCopyByHand(int field)
{
    // No window to send the keys to (a Wayland-native one has the focus, which no key from here
    // reaches): the field waits for the copy that the user makes, until another pick. Nothing
    // is read from the selection either, which a window of an earlier pick may still hold.
    m_row.pendingField = field;
    showPickedText(userText("Capture", NoTargetText), field);
    emit nothingToPick(field);
}

void CaptureController::pickFieldInPlace(int field)
{
    if (field < 0 || field >= m_row.fieldCount)
        return;
    // The keys pressed in one of our own windows, or with no window of another application
    // known, ask for what a click asks for.
    const WindowId focused = m_backend.available() ? m_backend.activeBeforeUs() : 0;
    if (m_mode == CaptureMode::Selection || focused == 0 || isOwnWindow(focused) ||
        QGuiApplication::focusWindow() != nullptr) {
        pickField(field);
        return;
    }
    m_rowPending = std::exchange(m_rowRequested, false);
    stopWaiting();
    m_row.captureTarget = focused;
    // A terminal gives what is selected in it, and keeps the focus.
    if (isTerminal(focused)) {
        takeSelectedText(field);
        return;
    }
    const bool sent = sendCopyRequest(focused, false, true);
    // As for a click: only now does the field wait.
    m_row.pendingField = field;
    m_copyWait.start();
    if (sent && m_backend.waitForCopy(QuickCopyWait))
        clipboardChanged();
}

void CaptureController::pickRow(bool inPlace)
{
    if (m_row.fieldCount == 0 || !m_rowFiller)
        return;
    // The row's pick runs as a pick of the first field whose text goes to the row filler.
    m_rowRequested = true;
    if (inPlace)
        pickFieldInPlace(0);
    else
        pickField(0);
    m_rowRequested = false;
}

bool CaptureController::takeRowText(const char *prefix)
{
    m_rowPending = false;
    m_rowFields.clear();
    RowPick pick = m_rowFiller ? m_rowFiller(m_capture) : RowPick{};
    m_rowFields = std::move(pick.fields);
    showPickedText(prefix != nullptr ? userText("Capture", prefix) + pick.status : pick.status, -1);
    if (m_rowFields.empty())
        emit nothingToPick(-1);
    return !m_rowFields.empty();
}

void CaptureController::rowArrived()
{
    const std::vector<int> fields = std::exchange(m_rowFields, {});
    bool replaced = false;
    for (const int field : fields) {
        int &hasValue = m_row.hasValue[static_cast<std::size_t>(field)];
        replaced = replaced || hasValue != 0;
        if (hasValue == 0) {
            hasValue = 1;
            if (m_fillState)
                m_fillState(field, true);
        }
    }
    if (replaced) {
        if (m_beep)
            m_beep();
        else
            QApplication::beep();
    }
    m_row.unsaved = 1;
    for (const int field : fields)
        emit valuePicked(field);
}

void CaptureController::stopWaiting()
{
    m_copyWait.stop();
    m_bystanderWait.stop();
    m_hasBystanderText = false;
}

void CaptureController::reportUnavailable()
{
    if (m_toldUnavailable)
        return;
    m_toldUnavailable = true;
    m_messages.show(Message{userText("Capture", CaptureUnavailableText),
                            userText("Capture", "Quillon: Inform"), MessageIcon::Information,
                            MessageButtons::Ok});
}

bool CaptureController::copyFromTargetWindow(WindowId target)
{
    return !isTerminal(target) && sendCopyRequest(target, false);
}

bool CaptureController::sendCopyRequest(WindowId target, bool focusAsked, bool inPlace)
{
    m_askTextBefore = false;
    if (!m_backend.available()) {
        reportUnavailable();
        return false;
    }
    if (target == 0 || isOwnWindow(target))
        return false;
    // Emptying the clipboard first makes every application announce its copy, even one that
    // owned the clipboard already. A clipboard of our own is emptied through Qt: emptied from
    // another connection, Qt would go on taking it for ours and hide every later copy.
    if (m_clipboard->ownsClipboard()) {
        if (readClipboard() == ClipboardContent::Text)
            rememberSeen(m_capture);
        m_clipboard->clear(QClipboard::Clipboard);
    } else if (m_backend.emptyClipboard()) {
        m_askTextBefore = true;
    } else {
        m_clipboard->clear(QClipboard::Clipboard);
    }
    // A target that has been closed, or that will not take the focus, gets no keys.
    // A target picked from in place keeps the focus it has.
    if (!(inPlace      ? m_backend.keepFocus(target)
          : focusAsked ? m_backend.awaitFocus()
                       : m_backend.giveFocus(target)))
        return false;
    return m_backend.sendCopyKeys();
}

void CaptureController::clipboardChanged()
{
    if (m_row.pendingField < 0)
        return;
    // Our own emptying announces itself inside the emptying and usually once more later: while
    // the clipboard has no owner and no content, nothing has arrived yet. A copy made in one of
    // our own windows has an owner and counts like any other.
    const ClipboardContent content = readClipboard();
    rememberTextBefore();
    if (content == ClipboardContent::Nothing)
        return;
    if (content == ClipboardContent::Text && fromBystander()) {
        // A text that the clipboard held before is a clipboard manager's refill: the copy asked
        // for is still to come. Any other text from a bystander may be a refill too, from a
        // history of an earlier session, or the copy itself, made by a helper process: it is
        // taken unless the target's own copy follows.
        if (seenBefore())
            return;
        m_bystanderText = m_capture;
        m_hasBystanderText = true;
        m_copyWait.stop();
        m_bystanderWait.start();
        return;
    }
    if (content == ClipboardContent::Text) {
        rememberSeen(m_capture);
        takeCopy(m_row.pendingField);
        return;
    }
    // Something that is not text ends the request, the field unchanged.
    stopWaiting();
    m_row.pendingField = -1;
}

void CaptureController::takeCopy(int field)
{
    stopWaiting();
    m_row.pendingField = -1;
    if (takeCapturedText(field))
        valueArrived(field);
}

void CaptureController::takeBystanderText()
{
    if (m_row.pendingField < 0 || !m_hasBystanderText)
        return;
    m_capture = m_bystanderText;
    rememberSeen(m_capture);
    takeCopy(m_row.pendingField);
}

void CaptureController::copyBroughtNothing()
{
    const int field = m_row.pendingField;
    if (field < 0 || m_hasBystanderText)
        return;
    // A program whose copy command copies nothing may still have put what the user selected in
    // it on the selection.
    if (m_backend.available() &&
        pickSelection(field, true, FromSelectionText) == SelectionPick::Taken)
        return;
    showPickedText(userText("Capture", NothingCopiedText), field);
    emit nothingToPick(field);
}

bool CaptureController::isTerminal(WindowId window)
{
    if (window == 0)
        return false;
    if (holdsPseudoTerminalMaster(m_backend.windowProcess(window)))
        return true;
    const CaptureBackend::WindowClass found = m_backend.windowClass(window);
    return isTerminalWindowClass(found.instance, found.className);
}

bool CaptureController::takeSelectedText(int field)
{
    if (field < 0 || field >= m_row.fieldCount || m_description == nullptr)
        return false;
    // Where neither the backend nor the toolkit can read the selection, a copy by hand is the
    // way left: the field waits for it.
    if (!m_backend.available() && !m_clipboard->supportsSelection()) {
        reportUnavailable();
        m_row.pendingField = field;
        return false;
    }
    // The pick ends here, with or without a value: nothing is left waiting.
    stopWaiting();
    m_row.pendingField = -1;
    const SelectionPick picked = pickSelection(field, false, nullptr);
    if (picked == SelectionPick::Taken)
        return true;
    if (picked == SelectionPick::Repeated)
        showPickedText(userText("Capture", NothingNewSelectedText), field);
    else
        showPickedText(userText("Capture", m_lastSelectionRead == ClipboardContent::NoText
                                               ? SelectionNotTextText
                                               : NothingSelectedText),
                       field);
    emit nothingToPick(field);
    return false;
}

CaptureController::SelectionPick CaptureController::pickSelection(int field, bool onlyFromTarget,
                                                                  const char *prefix)
{
    m_lastSelectionRead = readSelection();
    // A selection read from our own windows has no owner here, and is never the target's.
    if (m_lastSelectionRead != ClipboardContent::Text ||
        (onlyFromTarget && (m_readSelection.owner == 0 || !m_backend.selectionFromTarget())))
        return SelectionPick::Nothing;
    // An owner that does not tell when it took the selection leaves new and old alike.
    if (m_readSelection.time != 0 && m_readSelection == m_takenSelection)
        return SelectionPick::Repeated;
    if (!takeCapturedText(field, prefix))
        return SelectionPick::Nothing;
    stopWaiting();
    m_row.pendingField = -1;
    m_takenSelection = m_readSelection;
    valueArrived(field);
    return SelectionPick::Taken;
}

void CaptureController::valueArrived(int field)
{
    if (!m_rowFields.empty()) {
        rowArrived();
        return;
    }
    const std::size_t f = static_cast<std::size_t>(field);
    if (m_row.hasValue[f] == 0) {
        m_row.hasValue[f] = 1;
        if (m_fillState)
            m_fillState(field, true);
    } else if (m_beep) {
        m_beep();
    } else {
        QApplication::beep();
    }
    m_row.unsaved = 1;
    emit valuePicked(field);
}

bool CaptureController::fromBystander()
{
    // A clipboard manager that refills an emptied clipboard does so from a program of its own.
    // The program asked to copy, a copy by hand where the user works, and a copy in our own
    // windows are never one.
    return !m_clipboard->ownsClipboard() && m_backend.ownerIsBystander();
}

bool CaptureController::seenBefore() const
{
    // The refill is a text that the clipboard held before: the last one the manager saw, which
    // may lag behind.
    const std::size_t text = std::hash<std::string_view>{}(m_capture);
    return std::find(m_seen.begin(), m_seen.end(), text) != m_seen.end();
}

void CaptureController::rememberSeen(std::string_view text)
{
    m_seen[m_nextSeen] = std::hash<std::string_view>{}(text);
    m_nextSeen = (m_nextSeen + 1) % m_seen.size();
}

void CaptureController::rememberTextBefore()
{
    if (!std::exchange(m_askTextBefore, false))
        return;
    std::string &before = m_textBefore;
    if (m_backend.textBeforeEmptying(before, MaxCaptureLength + ReadSlack)) {
        before.resize(utf8PrefixLength(before, MaxCaptureLength));
        rememberSeen(before);
    }
}

CaptureController::ClipboardContent CaptureController::readClipboard()
{
    // A clipboard of our own is read from Qt: asked for through the backend, we would have to
    // answer ourselves while waiting for the answer.
    const CaptureBackend::ClipboardRead read =
        m_clipboard->ownsClipboard()
            ? CaptureBackend::ClipboardRead::Unsupported
            : m_backend.readClipboardText(m_capture, MaxCaptureLength + ReadSlack);
    if (const std::optional<ClipboardContent> content = takeBackendRead(read))
        return *content;
    return readFromToolkit(QClipboard::Clipboard);
}

CaptureController::ClipboardContent CaptureController::readSelection()
{
    // A selection made in one of our own windows is read from Qt, as the clipboard is.
    const bool own = m_clipboard->ownsSelection();
    const CaptureBackend::ClipboardRead read =
        own ? CaptureBackend::ClipboardRead::Unsupported
            : m_backend.readSelectionText(m_capture, MaxCaptureLength + ReadSlack);
    m_readSelection = own ? CaptureBackend::SelectionStamp{} : m_backend.selectionStamp();
    if (const std::optional<ClipboardContent> content = takeBackendRead(read))
        return *content;
    if (!m_clipboard->supportsSelection())
        return ClipboardContent::Nothing;
    return readFromToolkit(QClipboard::Selection);
}

std::optional<CaptureController::ClipboardContent>
CaptureController::takeBackendRead(CaptureBackend::ClipboardRead read)
{
    switch (read) {
    case CaptureBackend::ClipboardRead::NoOwner:
        return ClipboardContent::Nothing;
    case CaptureBackend::ClipboardRead::NoText:
        return ClipboardContent::NoText;
    case CaptureBackend::ClipboardRead::Text:
        m_capture.resize(utf8PrefixLength(m_capture, MaxCaptureLength));
        return ClipboardContent::Text;
    case CaptureBackend::ClipboardRead::Unsupported:
        break;
    }
    return std::nullopt;
}

CaptureController::ClipboardContent CaptureController::readFromToolkit(QClipboard::Mode mode)
{
    const QMimeData *data = m_clipboard->mimeData(mode);
    if (data == nullptr || data->formats().isEmpty())
        return ClipboardContent::Nothing;
    if (!data->hasText())
        return ClipboardContent::NoText;
    const QByteArray bytes = data->text().toUtf8();
    // The text ends at its first NUL and is considered up to 32000 bytes, cut at a character.
    const std::size_t length = ::strnlen(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::string_view text(bytes.constData(), length);
    m_capture.assign(text.data(), utf8PrefixLength(text, MaxCaptureLength));
    return ClipboardContent::Text;
}

bool CaptureController::takeClipboardText(int field)
{
    if (field < 0 || field >= m_row.fieldCount || m_description == nullptr)
        return false;
    return readClipboard() == ClipboardContent::Text && takeCapturedText(field);
}

bool CaptureController::takeCapturedText(int field, const char *prefix)
{
    if (field < 0 || field >= m_row.fieldCount || m_description == nullptr)
        return false;
    if (m_rowPending)
        return takeRowText(prefix);
    const FieldDescription &description = m_description->fields[static_cast<std::size_t>(field)];
    normalizePickedText(m_capture, SqlType::keepsLineBreaks(description.sqlType));
    if (m_capture.empty())
        return false;
    m_row.storeValue(field, m_capture);
    showPickedText(prefix != nullptr ? userText("Capture", prefix) + m_capture : m_capture, field);
    return true;
}

void CaptureController::showPickedText(const std::string &text, int field)
{
    if (m_status == nullptr)
        return;
    const std::string *title = nullptr;
    if (m_description != nullptr && field >= 0 && field < m_row.fieldCount)
        title = &m_description->fields[static_cast<std::size_t>(field)].title;
    m_status->showText(statusLineText(text), statusCaption(title));
}
