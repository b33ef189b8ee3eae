// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

// One program's texts, those of the libraries both programs share ("common": the values'
// checks, the description files, the data source messages) and Qt's own (the standard buttons,
// the file dialogs) in the first of the
// locale's languages that the program is translated into, installed while the object lives.
// English, the language of the sources, needs no translation: a language list that names
// English before any translated language keeps the program English. The programs pass
// QLocale::system(), which follows LANGUAGE, LC_ALL, LC_MESSAGES and LANG.
//
//   QApplication app(argc, argv);
//   const Translations translations(QStringLiteral("quillon"), QLocale::system());
class Translations
{
public:
    Translations(const QString &program, const QLocale &locale);
    ~Translations();
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // The language installed ("de"), empty for English.
    QString language() const { return m_language; }

private:
    QTranslator m_program;
    QTranslator m_common;
    QTranslator m_qt;
    QString m_language;
};
