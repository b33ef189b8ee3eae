// SPDX-License-Identifier: MIT
#include "desktop/descriptionfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace {

constexpr std::string_view EveryFileWritten = "*.*";
constexpr std::string_view EveryFile = "*";

// The filters of a list of ours (a literal, so its text ends with a null), translated.
QStringList nameFilters(std::string_view pairs)
{
    QStringList filters;
    const QByteArray translated =
        QCoreApplication::translate("DescriptionFiles", pairs.data()).toUtf8();
    for (const std::string &filter : dialogFilters(translated.toStdString()))
        filters << QString::fromStdString(filter);
    return filters;
}

bool runDialog(QFileDialog &dialog, const QStringList &filters, std::string &path)
{
    if (filters.isEmpty())
        return false;
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty())
        return false;
    const QByteArray bytes = QDir::toNativeSeparators(chosen.front()).toLocal8Bit();
    path.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

} // namespace

std::vector<std::string> dialogFilters(std::string_view pairs)
{
    std::vector<std::string> filters;
    if (pairs.empty())
        return filters;
    const char separator = pairs.back();
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i] == separator) {
            parts.push_back(pairs.substr(start, i - start));
            start = i + 1;
        }
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string name(parts[i]);
        std::string pattern(parts[i + 1]);
        std::string suffix = "(" + pattern + ")";
        const bool named = name.size() >= suffix.size() &&
                           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
        if (pattern == EveryFileWritten) {
            if (named)
                name.erase(name.size() - suffix.size());
            while (!name.empty() && name.back() == ' ')
                name.pop_back();
            pattern = EveryFile;
            name += " (" + pattern + ")";
        } else if (!named) {
            name += " " + suffix;
        }
        filters.push_back(std::move(name));
    }
    return filters;
}

bool chooseDescriptionFile(QWidget *owner, std::string &path)
{
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("descriptionFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The file need not exist yet.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QDir::currentPath());
    return runDialog(dialog, nameFilters(DescriptionFileFilterList), path);
}

bool chooseSaveDescriptionFile(QWidget *owner, std::string &path)
{
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("descriptionSaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("dtd"));
    // Replacing a file is what saving a description does; nothing is asked.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDirectory(QDir::currentPath());
    if (!path.empty())
        dialog.selectFile(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
    return runDialog(dialog, nameFilters(DescriptionSaveFilterList), path);
}
