// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "picker/capture/capturemode.h"
#include "picker/shortcuts.h"

// The longest Table Description path the picker works with, in bytes. A longer path is refused
// rather than cut, since a cut path may name another file.
inline constexpr std::size_t MaxDescriptionPathLength = 255;

// Whether `path` is short enough to be the Table Description path.
bool descriptionPathFits(std::string_view path);

// The picker's own section of the settings file "quillon.ini".
//
// Every running picker owns one section: "Settings", "Settings1", "Settings2", … Its keys are
// "inuse" (non-zero while a picker owns the section), "orientation", "datatablefile",
// "capture" ("copy" or "selection": how a click on a field's button gets the text) and the
// keys that work in every application, "shortcut.pick1" … "shortcut.fillrow" (a combination
// such as "Ctrl+Alt+1", or nothing to switch one off; read only, never written). The
// file is plain `key=value` text that people may edit; section and key names are compared
// without case, values are read with the blanks around them trimmed, and a write changes only
// the lines it concerns.
//
// Besides the "inuse" mark, the owner holds a lock on a file of its own beside the settings file
// ("quillon.ini.Settings1.lock") for as long as it runs, so a section whose picker crashed or
// was killed is free again.
class PickerSettings
{
public:
    // "quillon.ini" in $XDG_CONFIG_HOME when that is an absolute path, otherwise in ~/.config.
    static std::string configPath();

    explicit PickerSettings(std::string path = configPath());
    // Gives up the owner lock without writing: a section left with "inuse" 1 this way is free
    // for the next picker all the same.
    ~PickerSettings();
    PickerSettings(const PickerSettings &) = delete;
    PickerSettings &operator=(const PickerSettings &) = delete;

    // When claim() writes the "inuse" mark: at once, or with markInUse() once the picker is up.
    // The owner lock keeps other pickers out meanwhile; where no owner lock can be kept, the mark
    // is written at once all the same.
    enum class InUseMark
    {
        Now,
        Later,
    };

    // Takes the first section that no running picker owns, writes "inuse"=1 into it and reads
    // its orientation and Table Description path. Creates the folder and the file as needed.
    // Always settles on a section; returns false when the file could not be read or written, in
    // which case the picker can go on but nothing about the run is kept.
    bool claim(InUseMark mark = InUseMark::Now);
    // Writes the "inuse" mark that claim() left for later; nothing when none is left.
    bool markInUse();

    // The claimed section; empty before claim().
    const std::string &sectionName() const { return m_section; }
    // "orientation" as read by claim(); 0 when missing.
    unsigned orientation() const { return m_orientation; }
    // "datatablefile" as read by claim(), whole; empty when missing.
    const std::string &dataTableFile() const { return m_dataTableFile; }
    // "capture" as read by claim(): "selection" (in any case) is the selection mode, anything
    // else, or nothing, the copy mode.
    CaptureMode captureMode() const { return m_captureMode; }
    // The shortcuts as read by claim(): the defaults, changed or switched off by the section's
    // "shortcut.…" keys.
    const ShortcutSet &shortcuts() const { return m_shortcuts; }

    // At the end of a run: writes "inuse"=0, "orientation", "datatablefile" and "capture" and
    // gives the section up. A path holding a line break cannot be kept in the file: the earlier
    // path then stays. Returns false when not everything was written or no section is held.
    bool release(unsigned orientation, std::string_view dataTableFile, CaptureMode captureMode);
    // At an early end: writes "inuse"=0 alone and gives the section up.
    bool releaseInUseOnly();

private:
    struct Entry
    {
        std::string_view key;
        std::string_view value;
    };
    bool writeAndGiveUp(std::initializer_list<Entry> entries);
    bool write(std::initializer_list<Entry> entries);

    std::string m_path;
    std::string m_section;
    std::string m_dataTableFile;
    unsigned m_orientation = 0;
    CaptureMode m_captureMode = CaptureMode::Copy;
    ShortcutSet m_shortcuts = defaultShortcuts();
    int m_ownerLock = -1;
    bool m_owning = false;
    bool m_markPending = false;
};
