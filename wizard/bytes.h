// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

// Texts from the driver and for it are bytes in the locale's encoding; the windows show them as
// Qt strings.
// Bytes that are not in that encoding (names from a database in Latin-1) show one character
// a byte, as Latin-1 reads them, rather than as replacement characters.
inline QString fromBytes(std::string_view text)
{
    QStringDecoder decoder(QStringDecoder::System, QStringDecoder::Flag::Stateless);
    QString shown = decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (decoder.hasError())
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return shown;
}

inline std::string toBytes(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}
