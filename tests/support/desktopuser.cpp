// SPDX-License-Identifier: MIT
#include "tests/support/desktopuser.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "picker/frame/miniframegeometry.h"
#include "tests/support/x11input.h"

namespace desktopuser {

namespace {

QStringList searchByTitle(const QString &title)
{
    return {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
            QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')};
}

// The field buttons are 24 pixels apart below a margin of 2; "Enter" follows a separator of 8.
constexpr int ButtonPitch = 24;
constexpr int ButtonMiddle = 11;
constexpr int SeparatorHeight = 8;

} // namespace

QString xdotool(const QStringList &arguments, int timeout)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(timeout))
        tool.kill();
    return QString::fromUtf8(tool.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0);
}

std::uint64_t waitForWindow(const QString &title, int timeout)
{
    std::uint64_t window = 0;
    (void)QTest::qWaitFor(
        [&] {
            window = xdotool(searchByTitle(title)).toULongLong();
            return window != 0;
        },
        timeout);
    return window;
}

bool waitUntilGone(const QString &title, int timeout)
{
    return QTest::qWaitFor([&] { return xdotool(searchByTitle(title)).isEmpty(); }, timeout);
}

QRect geometry(std::uint64_t window)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"),
                                           QStringLiteral("--shell"), QString::number(window)});
    tool.waitForFinished(5000);
    QRect rect;
    for (const QByteArray &line : tool.readAllStandardOutput().split('\n')) {
        const int value = line.mid(line.indexOf('=') + 1).toInt();
        if (line.startsWith("X="))
            rect.moveLeft(value);
        else if (line.startsWith("Y="))
            rect.moveTop(value);
        else if (line.startsWith("WIDTH="))
            rect.setWidth(value);
        else if (line.startsWith("HEIGHT="))
            rect.setHeight(value);
    }
    return rect;
}

qint64 processOf(std::uint64_t window)
{
    return xdotool({QStringLiteral("getwindowpid"), QString::number(window)}).toLongLong();
}

void keys(std::uint64_t window, const QStringList &keys)
{
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window)});
    for (const QString &key : keys)
        xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
}

void type(const QString &text)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--clearmodifiers"), text});
}

qint64 processWithArgument(const QString &program, const QString &argument)
{
    const QByteArray wanted = program.toUtf8() + '\0' + argument.toUtf8() + '\0';
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (number && cmdline.open(QIODevice::ReadOnly) && cmdline.readAll() == wanted)
            return pid;
    }
    return 0;
}

bool selectTopLine(std::uint64_t window, const std::function<bool()> &selected)
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    if (!x11input::windowRect(window, x, y, width, height))
        return false;
    for (int attempt = 0; attempt < 20; ++attempt) {
        x11input::emptySelection("PRIMARY");
        x11input::clickAt(x + 20, y + 8, 3);
        if (QTest::qWaitFor([] { return x11input::selectionOwner("PRIMARY") != 0; }, 500) &&
            (!selected || selected()))
            return true;
        QTest::qWait(100);
    }
    return false;
}

QPoint pickerFieldButton(const QRect &window, int field)
{
    const int s = DefaultCaptionThickness + 2;
    const FrameRect client = clientRect(FrameRect{0, 0, window.width(), window.height()},
                                        PickerWindowStyle | IBS_VERTCAPTION, s);
    return {window.x() + client.left + (client.right - client.left) / 2,
            window.y() + client.top + 2 + ButtonPitch * field + ButtonMiddle};
}

QPoint pickerEnterButton(const QRect &window, int fields)
{
    return pickerFieldButton(window, fields) + QPoint(0, SeparatorHeight);
}

GtkEntry::GtkEntry(const QString &text)
{
    const QString title = QStringLiteral("entry ") + text;
    m_process.start(QStringLiteral("zenity"),
                    {QStringLiteral("--entry"), QStringLiteral("--title=") + title,
                     QStringLiteral("--text=Text"), QStringLiteral("--entry-text=") + text});
    m_window = waitForWindow(title);
}

GtkEntry::~GtkEntry()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

void GtkEntry::selectAll() const
{
    x11input::activateWindow(m_window);
    QTest::qWait(300);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
}

} // namespace desktopuser
