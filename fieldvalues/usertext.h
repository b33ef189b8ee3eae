// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The texts the user reads, in the user's language, for code without Qt. Each text names its
// context, as QCoreApplication::translate does (lupdate reads userText() as translate() and
// USER_TEXT() as QT_TRANSLATE_NOOP()). The programs set the translator at start-up; without one
// (the command-line tool, the tests) the English text comes back unchanged.

using TextTranslator = std::string (*)(const char *context, const char *text);

void setTextTranslator(TextTranslator translator);

std::string userText(const char *context, const char *text);

// Marks a text of a table for translation where it stands; userText() translates it where it
// is used.
#define USER_TEXT(context, text) text

// `text` with %1, %2 … %9 replaced by `arguments`, in one pass: an argument that holds "%2"
// stays as it is.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> arguments);
