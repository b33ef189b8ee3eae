// SPDX-License-Identifier: MIT
#include "desktop/launch.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

QString FromBytes(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString &text)
{
    return QDir::toNativeSeparators(text).toLocal8Bit().toStdString();
}

bool Fail(LaunchFailure *failure, const QString &path, const std::string &reason)
{
    if (failure != nullptr)
        *failure = LaunchFailure{ToBytes(path), reason};
    return false;
}

} // namespace

std::string HelpPagePath()
{
    const QDir here(QCoreApplication::applicationDirPath());
    const QString beside = here.filePath(FromBytes(HelpPageName));
    const QString shared =
        here.filePath(QStringLiteral("../share/quillon/") + FromBytes(HelpPageName));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(shared))
        return ToBytes(QFileInfo(shared).absoluteFilePath());
    return ToBytes(beside);
}

bool ShowHelpPage(std::string_view anchor, LaunchFailure *failure)
{
    const QString path = QString::fromLocal8Bit(HelpPagePath());
    if (!QFileInfo::exists(path))
        return Fail(failure, path, "The help page is not installed.");
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.empty())
        url.setFragment(FromBytes(anchor));
    if (!QDesktopServices::openUrl(url))
        return Fail(failure, path, "No program to show web pages could be started.");
    return true;
}

std::string SiblingProgramPath(std::string_view program)
{
    return ToBytes(QDir(QCoreApplication::applicationDirPath()).filePath(FromBytes(program)));
}

bool StartSiblingProgram(std::string_view program, const std::vector<std::string> &arguments,
                         LaunchFailure *failure)
{
    const QString path = QString::fromLocal8Bit(SiblingProgramPath(program));
    QStringList list;
    for (const std::string &argument : arguments)
        list << FromBytes(argument);
    QProcess process;
    process.setProgram(path);
    process.setArguments(list);
    if (!process.startDetached())
        return Fail(failure, path, process.errorString().toLocal8Bit().toStdString() + ".");
    return true;
}
