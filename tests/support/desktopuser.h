// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>

#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

// What a user does on the desktop, for the end-to-end tests: windows found by their titles,
// keys typed into them, a GTK application that holds a text to pick, and the picker's buttons.
// xdotool does the finding and the typing; the window manager places and activates windows.
namespace desktopuser {

// Runs xdotool and gives the first line of its output.
QString xdotool(const QStringList &arguments, int timeout = 10000);
// The first shown window whose title is exactly `title`, once there is one; 0 after `timeout`
// milliseconds.
std::uint64_t waitForWindow(const QString &title, int timeout = 15000);
// True once no shown window has the title `title`; false after `timeout` milliseconds.
bool waitUntilGone(const QString &title, int timeout = 5000);
// Where the window is on the screen, frame aside, and how large.
QRect geometry(std::uint64_t window);
// The process that shows the window (its _NET_WM_PID); 0 when it does not say.
qint64 processOf(std::uint64_t window);
// Activates the window, as a click on it would, and types the keys into it one after another
// ("ctrl+a", "Return", "alt+n").
void keys(std::uint64_t window, const QStringList &keys);
// Types the text into the window that has the keyboard focus.
void type(const QString &text);

// The process whose command line is exactly `program argument`; 0 if there is none.
qint64 processWithArgument(const QString &program, const QString &argument);
// Selects the top line of a terminal's window with a triple click, again until the selection is
// there and `selected` (by default anything) holds, as a terminal may not have shown the line.
bool selectTopLine(std::uint64_t window, const std::function<bool()> &selected = {});

// The middle of the picker's field button `field` (0 for the first), the picker's window lying
// at `window` in a column as it starts.
QPoint pickerFieldButton(const QRect &window, int field);
// The middle of the picker's "Enter" button, which lies below the `fields` field buttons.
QPoint pickerEnterButton(const QRect &window, int fields);

// A GTK application whose one entry holds a text: zenity's entry dialog, titled "entry TEXT".
class GtkEntry
{
public:
    explicit GtkEntry(const QString &text);
    ~GtkEntry();
    GtkEntry(const GtkEntry &) = delete;
    GtkEntry &operator=(const GtkEntry &) = delete;

    std::uint64_t window() const { return m_window; }
    // Brings the application forward and selects its whole text, as a user does before picking.
    void selectAll() const;

private:
    QProcess m_process;
    std::uint64_t m_window = 0;
};

} // namespace desktopuser
