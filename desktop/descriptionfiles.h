// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fieldvalues/usertext.h"

class QWidget;

// The Open and Save dialogs for Table Description files.

// The picker's Open dialog list. The dialogs show the lists in the user's language.
inline constexpr std::string_view DescriptionFileFilterList = USER_TEXT(
    "DescriptionFiles", "Database Table Description Files(*.dtd)|*.dtd|All Files(*.*)|*.*|");
// The wizard's Save dialog list.
inline constexpr std::string_view DescriptionSaveFilterList =
    USER_TEXT("DescriptionFiles", "Database Table Description (*.dtd)|*.dtd|");

// A dialog's filters from a list "name|pattern|name|pattern|" whose last character is the
// separator, each as "name (pattern)" unless the name already ends with "(pattern)". The
// pattern "*.*" means every file, which on this system is "*": a name without a dot would not
// match "*.*".
std::vector<std::string> dialogFilters(std::string_view pairs);

// Shows the Open dialog for Table Description files. True with the chosen full path in `path`;
// false, with `path` untouched, when the user cancels.
bool chooseDescriptionFile(QWidget *owner, std::string &path);

// Shows the Save dialog for a Table Description file, starting with `path` (a name, or empty)
// and adding the suffix "dtd" to a name without one. It does not ask before replacing a file.
// True with the chosen full path in `path`; false, with `path` untouched, when the user cancels.
bool chooseSaveDescriptionFile(QWidget *owner, std::string &path);
