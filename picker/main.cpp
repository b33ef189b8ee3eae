// SPDX-License-Identifier: MIT
// quillon, the picker: a small palette with one button per field of a database table. A click
// on a field button takes the text selected in the application the user works in as the field's
// value; "Enter" checks the row and inserts it.
//
//   quillon [Table Description file]
//   quillon --pick N | --pick next | --enter | --fill-row
//
// The arguments joined by single blanks are the file's path, so that a path with blanks arrives
// whole. Without one, the picker opens the file it had open the last time. An exact leading
// command word instead sends the command to the picker that runs, over the session bus, and
// ends: the desktop's own shortcut settings bind keys to these.

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QPixmap>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "desktop/messagebox.h"
#include "desktop/translations.h"
#include "picker/capture/capturebackend.h"
#include "picker/commandbus.h"
#include "picker/commandline.h"
#include "picker/pickerdialogs.h"
#include "picker/pickerwindow.h"
#include "picker/settings.h"
// The picker's icon, as XPM data: `quillon_icon`.
#include "resources/quillon-icon.xpm"

namespace {

// A command goes to the picker that runs as the key of a global shortcut would.
void runCommand(PickerWindow &picker, const PickerCommand &command)
{
    switch (command.kind) {
    case PickerCommand::Kind::Pick:
        picker.shortcutPick(command.field - 1);
        break;
    case PickerCommand::Kind::PickNext:
        picker.shortcut(ShortcutAction::PickNext);
        break;
    case PickerCommand::Kind::Enter:
        picker.shortcut(ShortcutAction::Enter);
        break;
    case PickerCommand::Kind::FillRow:
        picker.shortcut(ShortcutAction::FillRow);
        break;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // Picking reaches other applications through X11: where there is an X display (under
    // Wayland, XWayland's), the picker runs there unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!line.error.empty()) {
        std::fputs(line.error.c_str(), stderr);
        return 2;
    }
    if (line.command) {
        // No window: the command is sent, and it also works where there is no display at all.
        // Its standard error holds its own sentence only: QtDBus's thread may warn about its
        // own types while the connection opens or closes, which tells the user nothing.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        QCoreApplication sender(argc, argv);
        std::string message;
        const int code = sendPickerCommand(*line.command, message);
        std::fputs(message.c_str(), stderr);
        return code;
    }

    prepareCaptureBackend();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon"));
    QApplication::setDesktopFileName(QStringLiteral("quillon"));
    // Straight from the XPM data: an icon made from a file looks for an icon engine plugin
    // first, and an image file for the image reader's plugins, a millisecond before the window.
    QApplication::setWindowIcon(QIcon(QPixmap(quillon_icon)));
    const Translations translations(QStringLiteral("quillon"), QLocale::system());

    QtMessageSink messages;
    std::unique_ptr<CaptureBackend> backend = createCaptureBackend();
    PickerSettings settings;
    PickerWindow picker(messages, *backend, settings, desktopPickerServices());
    messages.setOwner(&picker);
    // Without a session bus the picker still works: only commands from outside do not reach it.
    PickerCommandService commands(
        [&picker](const PickerCommand &command) { runCommand(picker, command); });
    QObject::connect(&picker, &PickerWindow::started, &commands, &PickerCommandService::publish);
    if (!picker.start(line.path))
        return 0;
    return QApplication::exec();
}
