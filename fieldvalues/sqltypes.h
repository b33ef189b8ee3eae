#pragma once

// The ODBC 2 SQL type codes that the field classes know, as a description file stores them.
// They are the driver manager's values; the row insert checks them against its headers.
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

} // namespace SqlType
