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

} // namespace

std::string helpPagePath()
{
    const QDir here(QCoreApplication::applicationDirPath());
    const QString beside = here.filePath(fromBytes(HelpPageName));
    const QString shared =
        here.filePath(QStringLiteral("../share/quillon/") + fromBytes(HelpPageName));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(shared))
        return toBytes(QFileInfo(shared).absoluteFilePath());
    return toBytes(beside);
}

bool showHelpPage(std::string_view anchor, LaunchFailure *failure)
{
    const QString path = QString::fromLocal8Bit(helpPagePath());
    if (!QFileInfo::exists(path))
        return fail(failure, path, "The help page is not installed.");
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.empty())
        url.setFragment(fromBytes(anchor));
    if (!QDesktopServices::openUrl(url))
        return fail(failure, path, "No program to show web pages could be started.");
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
