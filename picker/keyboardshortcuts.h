// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <vector>

#include <QObject>

#include "picker/shortcuts.h"

class QSocketNotifier;
class QTimer;
class X11Shortcuts;

// The picker's keys that work in every application, on X11: each combination of a set grabbed
// on the root window, and reported when pressed while any application has the focus. Elsewhere
// (the offscreen platform, a Wayland-native session) there are none.
class KeyboardShortcuts : public QObject
{
    Q_OBJECT

public:
    explicit KeyboardShortcuts(QObject *parent = nullptr);
    ~KeyboardShortcuts() override;

    // Takes the set's combinations where the session allows. Returns those that another program
    // holds (or that the keyboard lacks), in the set's order: they do nothing here.
    std::vector<KeyCombination> start(const ShortcutSet &set);
    // Gives every combination back.
    void stop();
    // Whether any combination is held, and the action's.
    bool active() const { return m_active; }
    bool grabbed(ShortcutAction action) const
    {
        return m_grabbed[static_cast<std::size_t>(action)];
    }

    // Waits, at most `limit`, until the user has let go of the modifiers and the key pressed;
    // false when some are still held then. True at once where there are no shortcuts.
    bool waitForRelease(std::chrono::milliseconds limit);

signals:
    void activated(ShortcutAction action);

private:
    void readEvents();

    std::unique_ptr<X11Shortcuts> m_x11;
    QSocketNotifier *m_notifier = nullptr;
    // Looks for the key of the last combination going up, so that its repeats do nothing.
    QTimer *m_releaseCheck = nullptr;
    bool m_active = false;
    std::array<bool, ShortcutCount> m_grabbed{};
};
