// SPDX-License-Identifier: MIT
// quillon, the picker: a small palette with one button per field of a database table. A click
// on a field button takes the text selected in the application the user works in as the field's
// value; "Enter" checks the row and inserts it.
//
//   quillon [Table Description file]
//
// The arguments joined by single blanks are the file's path, so that a path with blanks arrives
// whole. Without one, the picker opens the file it had open the last time.

#include <QApplication>
#include <QIcon>

#include <memory>
#include <string>

#include "desktop/messagebox.h"
#include "picker/capture/capturebackend.h"
#include "picker/pickerdialogs.h"
#include "picker/pickerwindow.h"
#include "picker/settings.h"

namespace {

// The arguments after the program's name joined by single blanks.
std::string JoinCommandLine(int argc, const char *const *argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line;
}

} // namespace

int main(int argc, char *argv[])
{
    // Picking reaches other applications through X11: where there is an X display (under
    // Wayland, XWayland's), the picker runs there unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    const std::string commandLine = JoinCommandLine(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon"));
    QApplication::setDesktopFileName(QStringLiteral("quillon"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/113")));

    QtMessageSink messages;
    std::unique_ptr<CaptureBackend> backend = CreateCaptureBackend();
    PickerSettings settings;
    PickerWindow picker(messages, *backend, settings, DesktopPickerServices());
    messages.setOwner(&picker);
    if (!picker.start(commandLine))
        return 0;
    return QApplication::exec();
}
