// SPDX-License-Identifier: MIT
#include "desktop/launch.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

QString fromBytes(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toBytes(const QString &text)
{
    return QDir::toNativeSeparators(text).toLocal8Bit().toStdString();
}

bool fail(LaunchFailure *failure, const QString &path, const std::string &reason)
{
    if (failure != nullptr)
        *failure = LaunchFailure{toBytes(path), reason};
    return false;
}

// A reason in the user's language.
std::string translatedReason(const char *english)
{
    return QCoreApplication::translate("Launch", english).toLocal8Bit().toStdString();
}

} // namespace

std::string helpPagePath()
{
    const QDir here(QCoreApplication::applicationDirPath());
    // The translation names the page in the user's language; the English one stands in where
    // that page is not installed.
    const QString translated = QCoreApplication::translate("Launch", "helpframe.htm");
    for (const QString &name : {translated, fromBytes(HelpPageName)}) {
        const QString beside = here.filePath(name);
        const QString shared = here.filePath(QStringLiteral("../share/quillon/") + name);
        if (QFileInfo::exists(beside))
            return toBytes(beside);
        if (QFileInfo::exists(shared))
            return toBytes(QFileInfo(shared).absoluteFilePath());
    }
    return toBytes(here.filePath(fromBytes(HelpPageName)));
}

bool showHelpPage(std::string_view anchor, LaunchFailure *failure)
{
    const QString path = QString::fromLocal8Bit(helpPagePath());
    if (!QFileInfo::exists(path))
        return fail(
            failure, path,
            translatedReason(QT_TRANSLATE_NOOP("Launch", "The help page is not installed.")));
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.empty())
        url.setFragment(fromBytes(anchor));
    if (!QDesktopServices::openUrl(url))
        return fail(failure, path,
                    translatedReason(QT_TRANSLATE_NOOP(
                        "Launch", "No program to show web pages could be started.")));
    return true;
}

std::string siblingProgramPath(std::string_view program)
{
    return toBytes(QDir(QCoreApplication::applicationDirPath()).filePath(fromBytes(program)));
}

bool startSiblingProgram(std::string_view program, const std::vector<std::string> &arguments,
                         LaunchFailure *failure)
{
    const QString path = QString::fromLocal8Bit(siblingProgramPath(program));
    QStringList list;
    for (const std::string &argument : arguments)
        list << fromBytes(argument);
    QProcess process;
    process.setProgram(path);
    process.setArguments(list);
    if (!process.startDetached())
        return fail(failure, path, process.errorString().toLocal8Bit().toStdString() + ".");
    return true;
}
