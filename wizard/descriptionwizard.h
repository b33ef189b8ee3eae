#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QWizard>

#include "fieldvalues/message.h"
#include "wizard/session.h"

class DataSourcePage;
class TablePage;
class FieldPage;

// The wizard's one window: the three pages in their order, the connection and catalogues that
// they share, help and the About box. Cancel closes it at once; the program ends with it.
class DescriptionWizard : public QWizard
{
    Q_OBJECT

public:
    enum PageId
    {
        DataSourcePageId,
        TablePageId,
        FieldPageId,
    };

    // Messages go to `sink`; data sources are chosen through `chooser`, by default the data
    // source dialog. Both must outlive the wizard.
    explicit DescriptionWizard(MessageSink &sink, DataSourceChooser *chooser = nullptr,
                               QWidget *parent = nullptr);
    ~DescriptionWizard() override;

    DataSourceSession &session() { return m_session; }
    MessageSink &messages() { return m_sink; }
    DataSourceChooser &chooser() { return *m_chooser; }

    // Runs an action that speaks to the database. An error of the driver is shown with the stop
    // icon in the driver's words, and the result is false; the caller then leaves the rest of
    // its work undone and the page stays where it is.
    bool runGuarded(const std::function<void()> &action);

    // Command 1040: the help page at the wizard's topic.
    void showHelp();
    // Command 1039: the About box.
    void showAbout();

    DataSourcePage *dataSourcePage() const { return m_dataSourcePage; }
    TablePage *tablePage() const { return m_tablePage; }
    FieldPage *fieldPage() const { return m_fieldPage; }

private:
    void activatePage(int id);

    MessageSink &m_sink;
    std::unique_ptr<DataSourceChooser> m_ownChooser;
    DataSourceChooser *m_chooser = nullptr;
    DataSourceSession m_session;
    DataSourcePage *m_dataSourcePage = nullptr;
    TablePage *m_tablePage = nullptr;
    FieldPage *m_fieldPage = nullptr;
};

// The message box that shows an error of the driver.
Message DriverErrorMessage(const std::string &text);
