// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Names of tables and columns in the statements that we build.

// A name enclosed in `quote`, every `quote` inside it doubled; an empty quote (a driver without
// quoted names) leaves the name as it stands.
std::string quoteIdentifier(const std::string &name, std::string_view quote = "\"");

// An owner and a table name, each quoted, joined by a dot: "archive"."items".
std::string qualifiedTableName(const std::string &owner, const std::string &name,
                               std::string_view quote = "\"");

// Whether `text` is two or more names each enclosed in `quote` (any `quote` inside doubled),
// joined by dots and nothing else: a table that a description names already quoted and
// qualified, as the wizard saves a table that its name alone would not reach. Descriptions
// saved before hold plain names, which never read so unless a table's own name has that shape.
bool isQuotedTableReference(std::string_view text, std::string_view quote = "\"");

// How a statement names the table that a description holds: an already quoted and qualified
// reference as it is written, any other text as one quoted name.
std::string tableInStatement(const std::string &table, std::string_view quote = "\"");
