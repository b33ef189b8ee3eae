// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/launch.h"
#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"
#include "kolvane/kolvane.h"
#include "picker/frame/miniframe.h"
#include "picker/pickertable.h"
#include "picker/settings.h"

class CaptureBackend;
class CaptureController;
class KeyboardShortcuts;
class StatusWindow;

// Window-menu commands.
inline constexpr int LoadNewTableCommand = 2008;
inline constexpr int StartOverCommand = 2010;
inline constexpr int AboutCommand = 2014;
inline constexpr int HelpCommand = 2015;
inline constexpr int AlwaysOnTopCommand = 2017;
inline constexpr int ChangeOrientationCommand = 2018;
inline constexpr int ViewCurrentDataCommand = 2019;
inline constexpr int TableInformationCommand = 2020;
inline constexpr int ShowPickingCommand = 2021;
inline constexpr int FillRowCommand = 2022;

// What the picker asks of the desktop and of its dialogs. The program uses the real ones; tests
// answer from a script.
struct PickerServices
{
    using NoDescriptionChoice = PickerTable::NoDescriptionChoice;

    // The Open dialog for a Table Description file: true with the chosen path.
    std::function<bool(QWidget *owner, std::string &path)> chooseDescriptionFile;
    // The question that follows when no Table Description file can be read.
    std::function<NoDescriptionChoice(QWidget *owner)> askNoDescription;
    std::function<bool(LaunchFailure *failure)> startWizard;
    std::function<bool(LaunchFailure *failure)> showHelp;
    // The value editor on a field, the picked data view and the About box.
    std::function<void(QWidget *owner, int field)> editField;
    // Returns the field to edit once the view has gone, or -1.
    std::function<int(QWidget *owner)> viewPickedData;
    std::function<void(QWidget *owner)> showAbout;
};

// The picker's main window: the mini frame with one toolbar button per field and "Enter", its
// window menu, and what their commands do to the row being picked and to the database.
class PickerWindow : public MiniFrame
{
    Q_OBJECT

public:
    PickerWindow(MessageSink &messages, CaptureBackend &backend, PickerSettings &settings,
                 PickerServices services);
    ~PickerWindow() override;

    // Everything between claiming a settings section and showing the window, for the path
    // given on the command line (or, when it is empty, the one kept in the settings). False
    // when the picker ends without running: the section is then given up. The status window
    // and the keys follow once the window has been drawn, or at the first command before that:
    // started() says when.
    bool start(const std::string &commandLine);

    // A command from the toolbar or the window menu: its identifier, and for a button how it was
    // activated.
    void command(int id, Gesture gesture = Gesture::Pick);

    // The operations of the running picker.
    void resetRow();
    void changeOrientation();
    void startWizard(bool closeAfterwards);
    void showHelp();

    // The button of a field on the screen; empty before the toolbar exists.
    QRect fieldButtonRect(int field) const;
    // Shows a field's button as holding a value, or as empty.
    void showFieldFilled(int field, bool filled);

    const TableDescription &description() const { return m_table.description(); }
    const std::string &descriptionPath() const { return m_table.path(); }
    Orientation orientation() const
    {
        return m_orientation != 0 ? Orientation::Row : Orientation::Column;
    }
    bool statusShown() const { return m_statusShown; }
    // "Enter" changes its look with every row stored.
    bool enterSecondLook() const { return m_enterSecondLook; }
    CaptureController &capture() { return *m_capture; }
    KolvaneToolbar *toolbar() const { return m_toolbar; }
    StatusWindow *statusWindow() const { return m_status; }
    KeyboardShortcuts &shortcuts() { return *m_shortcuts; }

    // A key combination that works in every application: picks from the window that has the
    // focus, into field 1 to 9 or the next empty one, "Enter", or the row from copied cells.
    void shortcut(ShortcutAction action);
    // The keys' pick into any field (from 0), for a command sent by another invocation: the
    // desktop's own shortcuts reach all 30 fields this way.
    void shortcutPick(int field);

signals:
    void started();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildWindowMenu();
    void resizeToTable();
    void applyTopmost();
    void loadNewTable();
    // The toolbar shows the buttons of the table that is open now, and the window its size.
    // The one way the buttons change, whichever table was shown before.
    // The toolbar with the table's buttons, for a table that is being opened.
    void buildToolbar();
    void showTableButtons();
    // "Enter" by whatever gesture: checks and inserts the row, then hands the keyboard back.
    void enter();
    // Checks and inserts the row; false when the value editor is to open on a field instead.
    bool enterRow();
    // Gives the keyboard focus back to the application the user works in, as a pick does.
    void giveFocusBack();
    void viewPickedData();
    void toggleStatusWindow();
    void finishStart();
    // Takes the keys for every application; says in the status window which ones another
    // program holds, and which settings name no keys.
    void startShortcuts();
    // The keys in the buttons' tooltips and in the window menu.
    void showShortcutKeys();
    // The text of the action's keys, empty when it has none here.
    QString shortcutText(ShortcutAction action) const;
    // A pick from the keys found nothing, or there was nothing to do: the status line says why
    // and the picker beeps.
    void refuseShortcut(const std::string &text);
    // False when a shortcut is to do nothing now; otherwise readies the status line for it.
    bool acceptShortcut();
    // A pick from the keys into the field, in the window that has the focus.
    void pickInPlace(int field);

    MessageSink &m_messages;
    CaptureBackend &m_backend;
    PickerSettings &m_settings;
    PickerServices m_services;
    std::unique_ptr<CaptureController> m_capture;
    PickerTable m_table;
    // As the settings file has it: 0 for a column, any other number for a row.
    unsigned m_orientation = 0;
    bool m_alwaysOnTop = true;
    bool m_statusShown = false;
    bool m_startFinished = false;
    bool m_enterSecondLook = false;
    // How many field buttons the toolbar shows: those of the table shown last, which need not
    // be the table open now while another is being loaded.
    int m_fieldButtons = 0;
    KolvaneToolbar *m_toolbar = nullptr;
    StatusWindow *m_status = nullptr;
    KeyboardShortcuts *m_shortcuts = nullptr;
    // Which actions' keys this picker holds.
    std::array<bool, ShortcutCount> m_shortcutHeld{};
    // The last pick came from the keys: one that finds nothing beeps, as the user may not be
    // looking at the picker.
    bool m_pickFromKeys = false;
};
