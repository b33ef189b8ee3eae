// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <span>
#include <string>

#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"
#include "picker/insert/insert.h"

// The table the picker fills, from opening to closing: its Table Description, read from a file,
// the connection to its data source and the row's value texts sized for its fields; and, when
// another table cannot be opened, the way back to the one before. No window: the user is asked
// through the questions handed in, and told through a message sink.
class PickerTable
{
public:
    enum class NoDescriptionChoice
    {
        GaveUp,
        CreateNew,
        LoadExisting,
    };

    enum class OpenOutcome
    {
        Opened,
        GaveUp,
        CreateNew,
    };

    struct Hooks
    {
        // The question that follows when no Table Description file can be read.
        std::function<NoDescriptionChoice()> askNoDescription;
        // The Open dialog for a Table Description file: true with the chosen path.
        std::function<bool(std::string &path)> chooseDescriptionFile;
        // Sizes the row's value texts for the table that was opened; false when memory runs out.
        std::function<bool(const TableDescription &description)> loadRow;
        // Releases them when the table closes.
        std::function<void()> closeRow;
    };

    PickerTable(MessageSink &messages, Hooks hooks);
    ~PickerTable();
    PickerTable(const PickerTable &) = delete;
    PickerTable &operator=(const PickerTable &) = delete;

    // Opens the table of the current path. Where its file cannot be read, the user may create a
    // new one, give up or choose another file, as often as it takes. The data source is then
    // connected and the row's texts are sized; a failure of either gives up. The driver connects
    // on a thread of its own while `whileConnecting` runs here, with the description read.
    OpenOutcome open(const std::function<void()> &whileConnecting = {});
    // Closes the table that is open and opens the one at `path`. Where the user gives that up,
    // the previous path is opened again (and may itself lead to yet another file).
    OpenOutcome openAnother(const std::string &path);
    // Disconnects and releases the row's texts.
    void close();

    // Inserts one row of values, one per field; true when it is stored.
    bool insertRow(std::span<const std::string> values);

    const TableDescription &description() const { return m_description; }
    const std::string &path() const { return m_path; }
    void setPath(std::string path) { m_path = std::move(path); }

private:
    // The number of fields read from the current path, 0 when it cannot be read.
    int read();

    MessageSink &m_messages;
    Hooks m_hooks;
    OdbcConnection m_connection;
    TableDescription m_description;
    std::string m_path;
};
