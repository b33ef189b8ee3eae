#pragma once

#include <string>
#include <string_view>

#include <QByteArray>
#include <QString>

// Texts from the driver and for it are bytes in the locale's encoding; the windows show them as
// Qt strings.
inline QString FromBytes(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToBytes(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}
