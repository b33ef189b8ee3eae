// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "desktop/launch.h"
#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"

// The texts of the picker's own messages and status lines.

// What the status line says when the key for the next empty field finds every field filled;
// when the keys for a field name one the table does not have (%d: its number from 1); and before
// settings that name no key combination, and the status window's caption when no key is held
// elsewhere.
extern const char *const EveryFieldFilledText;
extern const char *const NoSuchFieldText;
extern const char *const UnreadableShortcutsText;
extern const char *const UnreadableShortcutsCaption;

// The connection string with the value of every password key (PWD, Password, in any case)
// written as asterisks.
std::string maskPasswords(std::string_view connectString);

// The information box: the connection string one key a line (passwords masked), then the table.
Message tableInformationMessage(const TableDescription &description);

// The question asked before unsaved values are dropped: when starting over or loading another
// table (`exiting` false), or when closing.
Message unsavedQuestion(bool exiting);

// A Table Description path longer than the picker works with.
Message pathTooLongMessage(std::string_view path);

// The wizard or the help page could not be started.
Message launchFailedMessage(const LaunchFailure &failure);

// There is not enough memory for the row's values.
Message outOfMemoryMessage();
