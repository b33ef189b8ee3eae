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

QStringList SearchByTitle(const QString &title)
{
    return {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
            QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')};
}

// The field buttons are 24 pixels apart below a margin of 2; "Enter" follows a separator of 8.
constexpr int ButtonPitch = 24;
constexpr int ButtonMiddle = 11;
constexpr int SeparatorHeight = 8;

} // namespace

QString Xdotool(const QStringList &arguments, int timeout)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(timeout))
        tool.kill();
    return QString::fromUtf8(tool.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0);
}

std::uint64_t WaitForWindow(const QString &title, int timeout)
{
    std::uint64_t window = 0;
    (void)QTest::qWaitFor(
        [&] {
            window = Xdotool(SearchByTitle(title)).toULongLong();
            return window != 0;
        },
        timeout);
    return window;
}

bool WaitUntilGone(const QString &title, int timeout)
{
    return QTest::qWaitFor([&] { return Xdotool(SearchByTitle(title)).isEmpty(); }, timeout);
}

QRect Geometry(std::uint64_t window)
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

qint64 ProcessOf(std::uint64_t window)
{
    return Xdotool({QStringLiteral("getwindowpid"), QString::number(window)}).toLongLong();
}

void Keys(std::uint64_t window, const QStringList &keys)
{
    Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window)});
    for (const QString &key : keys)
        Xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
}

void Type(const QString &text)
{
    Xdotool({QStringLiteral("type"), QStringLiteral("--clearmodifiers"), text});
}

qint64 ProcessWithArgument(const QString &program, const QString &argument)
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

bool SelectTopLine(std::uint64_t window, const std::function<bool()> &selected)
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    if (!x11input::WindowRect(window, x, y, width, height))
        return false;
    for (int attempt = 0; attempt < 20; ++attempt) {
        x11input::EmptySelection("PRIMARY");
        x11input::ClickAt(x + 20, y + 8, 3);
        if (QTest::qWaitFor([] { return x11input::SelectionOwner("PRIMARY") != 0; }, 500) &&
            (!selected || selected()))
            return true;
        QTest::qWait(100);
    }
    return false;
}

QPoint PickerFieldButton(const QRect &window, int field)
{
    const int s = DefaultCaptionThickness + 2;
    const FrameRect client = ClientRect(FrameRect{0, 0, window.width(), window.height()},
                                        PickerWindowStyle | IBS_VERTCAPTION, s);
    return {window.x() + client.left + (client.right - client.left) / 2,
            window.y() + client.top + 2 + ButtonPitch * field + ButtonMiddle};
}

QPoint PickerEnterButton(const QRect &window, int fields)
{
    return PickerFieldButton(window, fields) + QPoint(0, SeparatorHeight);
}

GtkEntry::GtkEntry(const QString &text)
{
    const QString title = QStringLiteral("entry ") + text;
    m_process.start(QStringLiteral("zenity"),
                    {QStringLiteral("--entry"), QStringLiteral("--title=") + title,
                     QStringLiteral("--text=Text"), QStringLiteral("--entry-text=") + text});
    m_window = WaitForWindow(title);
}

GtkEntry::~GtkEntry()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

void GtkEntry::selectAll() const
{
    x11input::ActivateWindow(m_window);
    QTest::qWait(300);
    Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
}

} // namespace desktopuser
