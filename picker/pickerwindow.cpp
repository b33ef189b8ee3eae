// SPDX-License-Identifier: MIT
#include "picker/pickerwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QTimer>

#include <utility>

#include <algorithm>
#include <chrono>
#include <span>
#include <utility>

#include "fieldvalues/row.h"
#include "fieldvalues/usertext.h"
#include "picker/capture/capture.h"
#include "picker/capture/statuswindow.h"
#include "picker/keyboardshortcuts.h"
#include "picker/pickertexts.h"
#include "picker/rowcells.h"
#include "picker/toolbarbuttons.h"

namespace {

// Where and how large the window is before a table has been opened.
constexpr int StartX = 5;
constexpr int StartY = 5;
constexpr int StartWidth = 280;
constexpr int StartHeight = 57;

std::uint32_t styleFor(Orientation orientation)
{
    return PickerWindowStyle |
           (orientation == Orientation::Row ? IBS_HORZCAPTION : IBS_VERTCAPTION);
}

// How long a pick from the keys waits for the user to let go of them before it takes them out
// of the copy keys. Keys are usually let go within a tenth of a second.
constexpr std::chrono::milliseconds ShortcutReleaseWait{250};

const char *const FillRowText = QT_TRANSLATE_NOOP("PickerWindow", "&Fill Row From Copied Cells");

// The window for `fieldCount` buttons in a column or a row, with a caption of `captionSize`
// pixels and the frame allowance: twice the sizing frame's width, less one.
QSize pickerWindowSize(int fieldCount, Orientation orientation, int captionSize)
{
    const int frame = 2 * SM_CXFRAME - 1;
    if (orientation == Orientation::Column)
        return {frame + captionSize + 68, frame + 24 * fieldCount + 60};
    return {frame + 64 * fieldCount + 100, frame + captionSize + 27};
}

} // namespace

PickerWindow::PickerWindow(MessageSink &messages, CaptureBackend &backend, PickerSettings &settings,
                           PickerServices services)
    : MiniFrame(styleFor(Orientation::Column)), m_messages(messages), m_backend(backend),
      m_settings(settings), m_services(std::move(services)),
      m_capture(std::make_unique<CaptureController>(backend, messages)),
      m_table(messages,
              {[this] { return m_services.askNoDescription(this); },
               [this](std::string &path) { return m_services.chooseDescriptionFile(this, path); },
               [this](const TableDescription &description) {
                   return m_capture->tableLoaded(description);
               },
               [this] {
                   m_capture->tableClosed();
               }})
{
    setWindowTitle(QStringLiteral("Quillon"));
    setObjectName(QStringLiteral("pickerWindow"));
    move(StartX, StartY);
    resize(StartWidth, StartHeight);
    buildWindowMenu();
    connect(this, &MiniFrame::menuCommand, this, [this](int id) {
        // System commands are the frame's own.
        if (id < 0xF000)
            command(id);
    });

    // F1 and F2 reach their commands while any of our windows is active.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &PickerWindow::showHelp);
    auto *view = new QShortcut(QKeySequence(Qt::Key_F2), this);
    view->setContext(Qt::ApplicationShortcut);
    connect(view, &QShortcut::activated, this, [this] {
        if (m_capture->anyFieldHasValue())
            viewPickedData();
    });

    m_capture->setPickerWindow(this);
    m_capture->setFillStateSink([this](int field, bool filled) { showFieldFilled(field, filled); });
    // The cells of a copied row go to the fields of the table that is open.
    m_capture->setRowFiller([this](std::string_view text) {
        RowFillResult filled = storeRowCells(splitCopiedRow(text, m_table.description()),
                                             m_table.description(), m_capture->row());
        return CaptureController::RowPick{std::move(filled.fields), std::move(filled.status)};
    });

    m_shortcuts = new KeyboardShortcuts(this);
    connect(m_shortcuts, &KeyboardShortcuts::activated, this, &PickerWindow::shortcut);
}

PickerWindow::~PickerWindow()
{
    m_capture->leaveClipboardNotices();
    m_table.close();
}

// The standard window menu, changed by position into the picker's: Restore, Move, Minimize,
// Change Orientation, Always On Top, Show what you are picking up, Start Over, Database Table
// Information, Load New Database Table, View Current Data, Help, About and Close, with
// separators between the groups.
void PickerWindow::buildWindowMenu()
{
    removeMenuItemAt(8);
    removeMenuItemAt(7);
    insertMenuSeparator(6);
    insertMenuCommand(6, AboutCommand, tr("&About"));
    insertMenuCommand(6, HelpCommand, tr("&Help\tF1"));
    insertMenuSeparator(6);
    insertMenuCommand(6, ViewCurrentDataCommand, tr("Vie&w Current Data"));
    insertMenuSeparator(6);
    insertMenuCommand(6, LoadNewTableCommand, tr("&Load New Database Table"));
    insertMenuCommand(6, TableInformationCommand, tr("&Database Table Information"));
    insertMenuSeparator(6);
    insertMenuCommand(6, StartOverCommand, tr("Start &Over"));
    insertMenuCommand(6, FillRowCommand, tr(FillRowText));
    removeMenuItemAt(4);
    removeMenuItemAt(2);
    insertMenuCommand(3, ShowPickingCommand, tr("Show what you are picking up"))
        ->setCheckable(true);
    QAction *onTop = insertMenuCommand(3, AlwaysOnTopCommand, tr("Always On &Top"));
    onTop->setCheckable(true);
    onTop->setChecked(true);
    insertMenuCommand(3, ChangeOrientationCommand, tr("Change Orientation"));
}

bool PickerWindow::start(const std::string &commandLine)
{
    // The window comes up first: finishStart() writes the mark.
    m_settings.claim(PickerSettings::InUseMark::Later);
    m_orientation = m_settings.orientation();
    m_capture->setCaptureMode(m_settings.captureMode());
    m_table.setPath(commandLine.empty() ? m_settings.dataTableFile() : commandLine);
    setStyleBits(styleFor(orientation()));
    ibSetCaptionSize(this, ibGetCaptionSize(this) + 2);
    setAlwaysOnTop(true);

    // The window is built while the data source connects.
    const PickerTable::OpenOutcome outcome = m_table.open([this] { buildToolbar(); });
    if (outcome != PickerTable::OpenOutcome::Opened) {
        if (outcome == PickerTable::OpenOutcome::CreateNew)
            startWizard(false);
        m_settings.releaseInUseOnly();
        return false;
    }
    resetRow();
    show();
    // A window that is not drawn soon (shown on a workspace out of sight) finishes all the
    // same: the commands from the desktop's keys must reach it.
    QTimer::singleShot(std::chrono::milliseconds(250), this, &PickerWindow::finishStart);
    return true;
}

void PickerWindow::buildToolbar()
{
    // The separator and "Enter" stay for the picker's life; the fields' buttons come before them.
    const ButtonRecord lastButtons[] = {separatorButton(), enterButton()};
    m_toolbar = createToolbar(
        clientArea(), TBS_VISIBLE, ToolbarControlId, ToolbarImageCount, nullptr, ToolbarBitmap,
        lastButtons, static_cast<int>(std::size(lastButtons)), static_cast<int>(orientation()));
    connect(m_toolbar, &KolvaneToolbar::commandActivated, this, &PickerWindow::command);
    showTableButtons();
}

void PickerWindow::paintEvent(QPaintEvent *event)
{
    MiniFrame::paintEvent(event);
    // The rest of the start waits until the window has been drawn: the status window's text
    // field loads the fonts, and the keys' grabs cost round trips, while the window manager
    // is still taking the picker's window on.
    if (!m_startFinished)
        QTimer::singleShot(0, this, &PickerWindow::finishStart);
}

void PickerWindow::finishStart()
{
    if (std::exchange(m_startFinished, true))
        return;
    m_settings.markInUse();
    m_status = new StatusWindow(this);
    connect(m_status, &StatusWindow::closedByUser, this, [this] {
        m_statusShown = false;
        menuAction(ShowPickingCommand)->setChecked(false);
    });
    m_capture->setStatusWindow(m_status);
    // A click that found nothing selected says why in the status window: it comes up if hidden.
    // Keys pressed elsewhere get a beep as well: the user may not be looking at the picker.
    connect(m_capture.get(), &CaptureController::nothingToPick, this, [this] {
        if (!m_statusShown)
            toggleStatusWindow();
        if (m_pickFromKeys)
            QApplication::beep();
    });
    startShortcuts();
    emit started();
}

void PickerWindow::startShortcuts()
{
    const ShortcutSet &set = m_settings.shortcuts();
    const std::vector<KeyCombination> held = m_shortcuts->start(set);
    for (std::size_t i = 0; i < ShortcutCount; ++i)
        m_shortcutHeld[i] = m_shortcuts->grabbed(static_cast<ShortcutAction>(i));
    showShortcutKeys();
    // Said once, at start: the picker goes on without those keys.
    std::string notice;
    if (!held.empty())
        notice = keysHeldElsewhereText(held);
    for (std::size_t i = 0; i < set.unreadable.size(); ++i) {
        if (i == 0)
            notice +=
                (notice.empty() ? "" : " ") + userText("PickerTexts", UnreadableShortcutsText);
        else
            notice += ", ";
        notice += set.unreadable[i];
    }
    if (notice.empty() || m_status == nullptr)
        return;
    m_status->showText(notice, userText("PickerTexts", held.empty() ? UnreadableShortcutsCaption
                                                                    : KeysHeldElsewhereCaption));
    if (!m_statusShown)
        toggleStatusWindow();
}

QString PickerWindow::shortcutText(ShortcutAction action) const
{
    const std::size_t index = static_cast<std::size_t>(action);
    const std::optional<KeyCombination> &keys = m_settings.shortcuts().keys[index];
    if (!m_shortcutHeld[index] || !keys)
        return {};
    return QString::fromStdString(keyCombinationText(*keys));
}

void PickerWindow::showShortcutKeys()
{
    if (QAction *fill = menuAction(FillRowCommand)) {
        const QString keys = shortcutText(ShortcutAction::FillRow);
        fill->setText(tr(FillRowText) + (keys.isEmpty() ? QString() : QLatin1Char('\t') + keys));
    }
    if (m_toolbar == nullptr)
        return;
    const QString next = shortcutText(ShortcutAction::PickNext);
    for (int i = 0; i < m_fieldButtons; ++i) {
        QWidget *button = m_toolbar->buttonWidget(i);
        if (button == nullptr)
            continue;
        QString keys = i < 9 ? shortcutText(static_cast<ShortcutAction>(i)) : QString();
        if (!next.isEmpty())
            keys = keys.isEmpty() ? tr("%1 when it is the next empty field").arg(next)
                                  : tr("%1, or %2 when it is the next empty field").arg(keys, next);
        button->setToolTip(keys);
    }
    // After the fields' buttons, the separator and "Enter".
    if (QWidget *enter = m_toolbar->buttonWidget(m_fieldButtons + 1))
        enter->setToolTip(shortcutText(ShortcutAction::Enter));
}

void PickerWindow::refuseShortcut(const std::string &text)
{
    m_capture->showPickedText(text, -1);
    if (!m_statusShown)
        toggleStatusWindow();
    QApplication::beep();
}

bool PickerWindow::acceptShortcut()
{
    // A dialog of ours is open (the value editor, a question): it has the user's attention.
    if (QApplication::activeModalWidget() != nullptr || m_toolbar == nullptr) {
        QApplication::beep();
        return false;
    }
    m_capture->showPickedText(" ", -1);
    m_pickFromKeys = true;
    return true;
}

void PickerWindow::shortcutPick(int field)
{
    if (acceptShortcut())
        pickInPlace(field);
}

void PickerWindow::pickInPlace(int field)
{
    if (field >= m_table.description().fieldCount) {
        refuseShortcut(
            fillIn(userText("PickerTexts", NoSuchFieldText), {std::to_string(field + 1)}));
        return;
    }
    m_shortcuts->waitForRelease(ShortcutReleaseWait);
    m_capture->pickFieldInPlace(field);
}

void PickerWindow::shortcut(ShortcutAction action)
{
    finishStart();
    if (!acceptShortcut())
        return;
    const int fieldCount = m_table.description().fieldCount;
    const CaptureController &capture = *m_capture;
    switch (action) {
    case ShortcutAction::Enter:
        if (!m_capture->anyFieldHasValue()) {
            QApplication::beep();
            return;
        }
        // The keyboard stays where the user works, unless the keys were pressed in the picker.
        if (enterRow() && QGuiApplication::focusWindow() != nullptr)
            giveFocusBack();
        return;
    case ShortcutAction::FillRow:
        m_shortcuts->waitForRelease(ShortcutReleaseWait);
        m_capture->pickRow(true);
        return;
    case ShortcutAction::PickNext: {
        int field = 0;
        while (field < fieldCount && capture.row().hasValue[static_cast<std::size_t>(field)] != 0)
            ++field;
        if (field == fieldCount) {
            refuseShortcut(userText("PickerTexts", EveryFieldFilledText));
            return;
        }
        m_shortcuts->waitForRelease(ShortcutReleaseWait);
        m_capture->pickFieldInPlace(field);
        return;
    }
    default:
        pickInPlace(static_cast<int>(action) - static_cast<int>(ShortcutAction::Pick1));
        return;
    }
}

void PickerWindow::command(int id, Gesture gesture)
{
    finishStart();
    m_capture->showPickedText(" ", -1);
    m_pickFromKeys = false;
    const int field = fieldOfCommand(id, m_table.description().fieldCount);
    if (field >= 0) {
        if (gesture == Gesture::Pick)
            m_capture->pickField(field);
        else
            m_services.editField(this, field);
        return;
    }
    switch (id) {
    case EnterCommand:
        if (gesture == Gesture::Pick)
            enter();
        else if (m_capture->anyFieldHasValue())
            viewPickedData();
        break;
    case LoadNewTableCommand:
        loadNewTable();
        break;
    case StartOverCommand:
        if (m_capture->rowIsUnsaved() &&
            m_messages.show(unsavedQuestion(false)) != MessageAnswer::Yes)
            break;
        resetRow();
        break;
    case AboutCommand:
        m_services.showAbout(this);
        break;
    case HelpCommand:
        showHelp();
        break;
    case AlwaysOnTopCommand:
        m_alwaysOnTop = !m_alwaysOnTop;
        setAlwaysOnTop(m_alwaysOnTop);
        menuAction(AlwaysOnTopCommand)->setChecked(m_alwaysOnTop);
        break;
    case ChangeOrientationCommand:
        changeOrientation();
        break;
    case ViewCurrentDataCommand:
        if (m_capture->anyFieldHasValue())
            viewPickedData();
        break;
    case TableInformationCommand:
        m_messages.show(tableInformationMessage(m_table.description()));
        break;
    case ShowPickingCommand:
        toggleStatusWindow();
        break;
    case FillRowCommand:
        m_capture->pickRow(false);
        break;
    default:
        break;
    }
}

void PickerWindow::enter()
{
    // Only the value editor, opening on a field to mend, keeps the keyboard here; once the row
    // is stored, or refused and reported, the user's next keys belong where the values came from.
    if (!m_capture->anyFieldHasValue() || enterRow())
        giveFocusBack();
}

bool PickerWindow::enterRow()
{
    const std::size_t count = static_cast<std::size_t>(m_table.description().fieldCount);
    const std::span<std::string> values = std::span(m_capture->row().value).first(count);
    const RowProblem problem = checkRow(m_table.description(), values);
    if (problem.field >= 0) {
        // The editor opens once this command is over, as if the user had asked for it.
        const int id = FirstFieldCommand + problem.field;
        QTimer::singleShot(0, this, [this, id] { command(id, Gesture::Edit); });
        return false;
    }
    if (!m_table.insertRow(m_capture->row().value))
        return true;
    m_enterSecondLook = !m_enterSecondLook;
    if (m_toolbar != nullptr)
        m_toolbar->setFillState(EnterCommand, m_enterSecondLook ? TBFILL_ENTER2 : TBFILL_ENTER);
    resetRow();
    return true;
}

void PickerWindow::giveFocusBack()
{
    if (!m_backend.available())
        return;
    // The same window a pick would copy from: the one that was active before the picker.
    WindowId target = m_backend.activeBeforeUs();
    if (target == 0)
        target = m_capture->row().captureTarget;
    if (target != 0 && !isOwnWindow(target))
        m_backend.giveFocus(target);
}

void PickerWindow::resetRow()
{
    m_capture->resetRow();
}

void PickerWindow::loadNewTable()
{
    if (m_capture->rowIsUnsaved()) {
        if (m_messages.show(unsavedQuestion(false)) != MessageAnswer::Yes)
            return;
        resetRow();
    }
    std::string chosen;
    if (!m_services.chooseDescriptionFile(this, chosen))
        return;
    // Where the picker falls back to the table it had, and that file cannot be read any more
    // either, the user may choose yet another one on the way: whichever table ends up open gets
    // its own buttons below.
    switch (m_table.openAnother(chosen)) {
    case PickerTable::OpenOutcome::Opened:
        showTableButtons();
        resetRow();
        break;
    case PickerTable::OpenOutcome::GaveUp:
        QTimer::singleShot(0, this, &QWidget::close);
        break;
    case PickerTable::OpenOutcome::CreateNew:
        startWizard(true);
        break;
    }
}

void PickerWindow::showTableButtons()
{
    for (int position = m_fieldButtons - 1; position >= 0; --position) {
        if (m_toolbar->deleteButton(position))
            --m_fieldButtons;
    }
    // The separator and "Enter" follow the fields' buttons.
    const int count = std::clamp(m_table.description().fieldCount, 0, MaxFields);
    for (int i = 0; i < count; ++i) {
        m_toolbar->insertButton(
            m_fieldButtons,
            fieldButton(m_table.description().fields[static_cast<std::size_t>(i)], i));
        ++m_fieldButtons;
    }
    resizeToTable();
    m_toolbar->fitToParent();
    showShortcutKeys();
}

void PickerWindow::changeOrientation()
{
    m_orientation = m_orientation != 0 ? 0 : 1;
    setStyleBits(styleFor(orientation()));
    if (m_toolbar != nullptr)
        m_toolbar->setOrientation(orientation());
    resizeToTable();
    if (m_toolbar != nullptr)
        m_toolbar->fitToParent();
}

void PickerWindow::resizeToTable()
{
    resize(
        pickerWindowSize(m_table.description().fieldCount, orientation(), ibGetCaptionSize(this)));
    if (m_alwaysOnTop)
        setAlwaysOnTop(true);
}

void PickerWindow::viewPickedData()
{
    const int field = m_services.viewPickedData(this);
    if (field < 0)
        return;
    const int id = FirstFieldCommand + field;
    QTimer::singleShot(0, this, [this, id] { command(id, Gesture::Edit); });
}

void PickerWindow::toggleStatusWindow()
{
    finishStart();
    if (m_status == nullptr)
        return;
    m_statusShown = !m_statusShown;
    if (m_statusShown)
        m_status->showNormal();
    else
        m_status->hide();
    menuAction(ShowPickingCommand)->setChecked(m_statusShown);
}

void PickerWindow::startWizard(bool closeAfterwards)
{
    LaunchFailure failure;
    if (!m_services.startWizard(&failure))
        m_messages.show(launchFailedMessage(failure));
    if (closeAfterwards)
        QTimer::singleShot(0, this, &QWidget::close);
}

void PickerWindow::showHelp()
{
    LaunchFailure failure;
    if (!m_services.showHelp(&failure))
        m_messages.show(launchFailedMessage(failure));
}

void PickerWindow::closeEvent(QCloseEvent *event)
{
    if (m_capture->rowIsUnsaved() && m_messages.show(unsavedQuestion(true)) != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    m_settings.release(m_orientation, m_table.path(), m_capture->captureMode());
    m_shortcuts->stop();
    m_capture->leaveClipboardNotices();
    if (m_status != nullptr)
        m_status->hide();
    MiniFrame::closeEvent(event);
}

QRect PickerWindow::fieldButtonRect(int field) const
{
    const QWidget *button = m_toolbar != nullptr ? m_toolbar->buttonWidget(field) : nullptr;
    if (button == nullptr)
        return {};
    return QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
}

void PickerWindow::showFieldFilled(int field, bool filled)
{
    if (m_toolbar != nullptr)
        m_toolbar->setFillState(FirstFieldCommand + field, fieldFillState(filled));
}
