// SPDX-License-Identifier: MIT
#include "picker/pickertable.h"

#include <future>

#include "picker/pickertexts.h"
#include "picker/settings.h"

PickerTable::PickerTable(MessageSink &messages, Hooks hooks)
    : m_messages(messages), m_hooks(std::move(hooks)), m_connection(messages)
{}

PickerTable::~PickerTable()
{
    close();
}

int PickerTable::read()
{
    if (!descriptionPathFits(m_path)) {
        m_messages.show(pathTooLongMessage(m_path));
        return 0;
    }
    Message failure;
    const int count = loadTableDescription(m_path, m_description, &failure);
    if (count == 0 && !failure.text.empty())
        m_messages.show(failure);
    return count;
}

PickerTable::OpenOutcome PickerTable::open(const std::function<void()> &whileConnecting)
{
    int count = read();
    while (count == 0) {
        switch (m_hooks.askNoDescription()) {
        case NoDescriptionChoice::GaveUp:
            return OpenOutcome::GaveUp;
        case NoDescriptionChoice::CreateNew:
            return OpenOutcome::CreateNew;
        case NoDescriptionChoice::LoadExisting:
            break;
        }
        if (!m_hooks.chooseDescriptionFile(m_path))
            return OpenOutcome::GaveUp;
        count = read();
    }
    m_description.fieldCount = count;
    setValueWidths(m_description);

    if (whileConnecting) {
        // What went wrong is told on this thread, once the work here is done.
        std::future<OdbcConnection::ConnectAttempt> attempt =
            std::async(std::launch::async, [this, connectString = m_description.connectString] {
                return m_connection.attemptConnection(connectString);
            });
        whileConnecting();
        if (!m_connection.finishConnection(attempt.get()))
            return OpenOutcome::GaveUp;
    } else if (!m_connection.connectDataSource(m_description.connectString)) {
        return OpenOutcome::GaveUp;
    }
    if (!m_hooks.loadRow(m_description)) {
        m_messages.show(outOfMemoryMessage());
        m_connection.disconnectDataSource();
        return OpenOutcome::GaveUp;
    }
    return OpenOutcome::Opened;
}

PickerTable::OpenOutcome PickerTable::openAnother(const std::string &path)
{
    close();
    const std::string oldPath = m_path;
    m_path = path;
    OpenOutcome outcome = open();
    if (outcome == OpenOutcome::GaveUp) {
        m_path = oldPath;
        outcome = open();
    }
    return outcome;
}

void PickerTable::close()
{
    m_connection.disconnectDataSource();
    m_hooks.closeRow();
}

bool PickerTable::insertRow(std::span<const std::string> values)
{
    const std::size_t count = static_cast<std::size_t>(m_description.fieldCount);
    // A row in doubt keeps its values as a failed one does: the user looks before entering it
    // again.
    return m_connection.insertRow(m_description, values.first(count)) == InsertOutcome::Stored;
}
