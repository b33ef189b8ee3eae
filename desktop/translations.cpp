// SPDX-License-Identifier: MIT
#include "desktop/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "fieldvalues/usertext.h"

namespace {

// Where the build puts the programs' translations (resources/translations).
const QString BuiltIn = QStringLiteral(":/i18n");

std::string qtTranslation(const char *context, const char *text)
{
    return QCoreApplication::translate(context, text).toStdString();
}

} // namespace

Translations::Translations(const QString &program, const QLocale &locale)
{
    for (const QString &name : locale.uiLanguages()) {
        const QLocale language(name);
        if (language.language() == QLocale::English || language.language() == QLocale::C)
            break;
        if (!m_program.load(language, program, QStringLiteral("_"), BuiltIn))
            continue;
        QCoreApplication::installTranslator(&m_program);
        if (m_common.load(language, QStringLiteral("common"), QStringLiteral("_"), BuiltIn))
            QCoreApplication::installTranslator(&m_common);
        if (m_qt.load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&m_qt);
        m_language = QLocale::languageToCode(language.language());
        setTextTranslator(qtTranslation);
        break;
    }
}

Translations::~Translations()
{
    if (m_language.isEmpty())
        return;
    setTextTranslator(nullptr);
    QCoreApplication::removeTranslator(&m_qt);
    QCoreApplication::removeTranslator(&m_common);
    QCoreApplication::removeTranslator(&m_program);
}
