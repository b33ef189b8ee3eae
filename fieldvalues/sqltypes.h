// SPDX-License-Identifier: MIT
#pragma once

// The ODBC SQL type codes that the field classes know, as a description file stores them.
// They are the driver manager's values; the row insert checks them against its headers. The wide
// character types are those of drivers that report every character column as Unicode (MariaDB
// Connector/ODBC does, whatever the column's character set); their values are character data like
// any other, and their lengths are byte counts as the drivers report them.
namespace SqlType {

inline constexpr int Char = 1;
inline constexpr int Numeric = 2;
inline constexpr int Decimal = 3;
inline constexpr int Integer = 4;
inline constexpr int SmallInt = 5;
inline constexpr int Float = 6;
inline constexpr int Real = 7;
inline constexpr int Double = 8;
inline constexpr int Date = 9;
inline constexpr int Time = 10;
inline constexpr int Timestamp = 11;
inline constexpr int VarChar = 12;
inline constexpr int LongVarChar = -1;
inline constexpr int BigInt = -5;
inline constexpr int TinyInt = -6;
inline constexpr int Bit = -7;
inline constexpr int WChar = -8;
inline constexpr int WVarChar = -9;
inline constexpr int WLongVarChar = -10;

// Long text keeps the line breaks of a picked value; every other type gets one line.
inline constexpr bool keepsLineBreaks(int sqlType)
{
    return sqlType == LongVarChar || sqlType == WLongVarChar;
}

} // namespace SqlType
