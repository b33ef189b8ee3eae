// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

#include <QDialog>

#include "fieldvalues/message.h"
#include "odbc/database.h"
#include "odbc/datasources.h"
#include "wizard/session.h"

class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;

// Choosing a data source: the machine data sources (user and system) that the driver manager
// knows, or a file data source; a user name and a password where the data source needs a
// login, taken first from its own settings. OK connects without prompting and closes the dialog
// only when the connection is made; a failure is shown in the driver's words and the dialog
// stays, so that the user can correct the login or choose another data source.
class DataSourceDialog : public QDialog
{
    Q_OBJECT

public:
    enum Tab
    {
        MachineTab,
        FileTab,
    };

    DataSourceDialog(OdbcDatabase &database, MessageSink &sink, QWidget *parent = nullptr);

    void accept() override;

    // The connect string that OK would use for what is chosen now; empty when nothing is.
    std::string chosenConnectString() const;
    // Shows the .dsn files of another folder on the file tab.
    void showFileFolder(const std::filesystem::path &folder);

    QTabWidget *tabs() const { return m_tabs; }
    QTreeWidget *machineList() const { return m_machineList; }
    // Shown instead of the machine list when there is no machine data source.
    QLabel *noMachineSourceLabel() const { return m_noMachineSource; }
    QListWidget *fileList() const { return m_fileList; }
    QLineEdit *fileNameEdit() const { return m_fileName; }
    QGroupBox *loginBox() const { return m_login; }
    QLineEdit *userNameEdit() const { return m_userName; }
    QLineEdit *passwordEdit() const { return m_password; }
    QDialogButtonBox *buttons() const { return m_buttons; }

private:
    QWidget *createMachineTab();
    QWidget *createFileTab();
    void listMachineDataSources();
    void chosenSourceChanged();
    void browseForFile();
    void showLogin(const LoginSettings &settings);

    OdbcDatabase &m_database;
    MessageSink &m_sink;
    std::vector<MachineDataSource> m_machineSources;
    QTabWidget *m_tabs = nullptr;
    QStackedWidget *m_machineStack = nullptr;
    QTreeWidget *m_machineList = nullptr;
    QLabel *m_noMachineSource = nullptr;
    QLabel *m_fileFolder = nullptr;
    QListWidget *m_fileList = nullptr;
    QLineEdit *m_fileName = nullptr;
    QGroupBox *m_login = nullptr;
    QLineEdit *m_userName = nullptr;
    QLineEdit *m_password = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};

// The wizard's way of choosing a data source: the dialog above, owned by a window.
class DialogDataSourceChooser : public DataSourceChooser
{
public:
    DialogDataSourceChooser(QWidget *owner, MessageSink &sink) : m_owner(owner), m_sink(sink) {}
    bool choose(OdbcDatabase &database) override;

private:
    QWidget *m_owner;
    MessageSink &m_sink;
};

// What the machine tab says when the driver manager knows no data source.
extern const char *const NoMachineDataSourceText;
