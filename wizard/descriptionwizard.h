// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QWizard>

#include "desktop/launch.h"
#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"
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

    // Help: the help page at the wizard's topic.
    void showHelp();
    // About: the About box.
    void showAbout();

    // Finish once the field page has checked its selection: asks where to save the description
    // of the chosen table with `fields`, saves it and offers to start the picker on it. False,
    // after saying why, keeps the wizard open.
    bool saveDescription(const std::vector<FieldRow> &fields);

    // Where Finish asks for the file to save: the Save dialog for descriptions unless replaced.
    using SaveFileChooser = std::function<bool(QWidget *owner, std::string &path)>;
    void setSaveFileChooser(SaveFileChooser chooser) { m_saveFileChooser = std::move(chooser); }
    const SaveFileChooser &saveFileChooser() const { return m_saveFileChooser; }
    // How the picker is started on a saved description: quillon from beside our own
    // executable unless replaced.
    using PickerStarter = std::function<bool(const std::string &path, LaunchFailure *failure)>;
    void setPickerStarter(PickerStarter starter) { m_pickerStarter = std::move(starter); }
    const PickerStarter &pickerStarter() const { return m_pickerStarter; }

    DataSourcePage *dataSourcePage() const { return m_dataSourcePage; }
    TablePage *tablePage() const { return m_tablePage; }
    FieldPage *fieldPage() const { return m_fieldPage; }

private:
    void activatePage(int id);
    bool chooseSaveFile(std::string &path);
    void launchPicker(const std::string &path);

    MessageSink &m_sink;
    std::unique_ptr<DataSourceChooser> m_ownChooser;
    DataSourceChooser *m_chooser = nullptr;
    DataSourceSession m_session;
    SaveFileChooser m_saveFileChooser;
    PickerStarter m_pickerStarter;
    DataSourcePage *m_dataSourcePage = nullptr;
    TablePage *m_tablePage = nullptr;
    FieldPage *m_fieldPage = nullptr;
};

// The message box that shows an error of the driver.
Message driverErrorMessage(const std::string &text);
