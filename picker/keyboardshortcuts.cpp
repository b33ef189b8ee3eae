// SPDX-License-Identifier: MIT
#include "picker/keyboardshortcuts.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

#include "picker/capture/x11/x11shortcuts.h"

KeyboardShortcuts::KeyboardShortcuts(QObject *parent) : QObject(parent) {}

KeyboardShortcuts::~KeyboardShortcuts() = default;

std::vector<KeyCombination> KeyboardShortcuts::start(const ShortcutSet &set)
{
    stop();
    std::vector<KeyCombination> held;
    // Only an X11 session (XWayland's included) lets a program take keys from every window; the
    // offscreen platform has no keyboard at all.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return held;
    if (m_x11 == nullptr) {
        m_x11 = X11Shortcuts::open(nullptr);
        if (m_x11 == nullptr)
            return held;
        m_notifier = new QSocketNotifier(m_x11->connectionNumber(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &KeyboardShortcuts::readEvents);
        m_releaseCheck = new QTimer(this);
        m_releaseCheck->setInterval(20);
        connect(m_releaseCheck, &QTimer::timeout, this, [this] {
            m_x11->keyReleased();
            if (!m_x11->awaitingRelease())
                m_releaseCheck->stop();
        });
    }
    for (std::size_t i = 0; i < ShortcutCount; ++i) {
        const std::optional<KeyCombination> &keys = set.keys[i];
        if (!keys)
            continue;
        m_grabbed[i] = m_x11->grab(static_cast<int>(i), *keys);
        if (m_grabbed[i])
            m_active = true;
        else
            held.push_back(*keys);
    }
    return held;
}

void KeyboardShortcuts::stop()
{
    if (m_x11 != nullptr)
        m_x11->ungrabAll();
    m_active = false;
    m_grabbed.fill(false);
}

bool KeyboardShortcuts::waitForRelease(std::chrono::milliseconds limit)
{
    if (m_x11 == nullptr)
        return true;
    const bool released = m_x11->waitForRelease(limit);
    // The waits read from the connection: what arrived meanwhile is handled next round.
    QTimer::singleShot(0, this, &KeyboardShortcuts::readEvents);
    return released;
}

void KeyboardShortcuts::readEvents()
{
    if (m_x11 == nullptr)
        return;
    m_x11->dispatch([this](int id) { emit activated(static_cast<ShortcutAction>(id)); });
    if (m_x11->awaitingRelease() && !m_releaseCheck->isActive())
        m_releaseCheck->start();
}
