// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The classes of ODBC 2 SQL type codes that the system knows.
enum class FieldClass
{
    Bit,
    WholeNumber,
    Character,
    ExactNumeric,
    ApproximateNumeric,
    Date,
    Time,
    Timestamp,
    Unsupported,
};

// The cap on value widths that the picker uses.
inline constexpr int ValueWidthCap = 32000;

// Who checks a value: the picker removes thousands separators from numbers first, the wizard
// (checking a default value) does not.
enum class CheckMode
{
    Picker,
    Wizard,
};

FieldClass classOfSqlType(int sqlType);

// Capacity of a field's value text. Whole and exact numbers get room for a sign and thousands
// separators besides their digits.
int valueWidth(int sqlType, int length, int cap = ValueWidthCap);

// Short hint of the expected format; empty for unsupported types.
std::string fieldHint(int sqlType, int length);

// Returns true when `value` is acceptable for the field. The check may rewrite `value` into its
// normal form (commas removed, a written date converted); the caller keeps the rewritten text
// either way. On refusal `error` holds the error text, otherwise it is empty.
bool checkFieldValue(std::string &value, int sqlType, int length, std::string &error,
                     CheckMode mode = CheckMode::Picker);

// Removes every comma; a value with commas is first cut to 128 bytes (at a character boundary).
void removeCommas(std::string &value);
