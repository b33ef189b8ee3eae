// SPDX-License-Identifier: MIT
#include "wizard/datasourcedialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "odbc/connectionpolicy.h"
#include "odbc/connectionstring.h"
#include "odbc/error.h"
#include "wizard/bytes.h"
#include "wizard/descriptionwizard.h"
#include "wizard/dialogunits.h"

namespace fs = std::filesystem;

const char *const NoMachineDataSourceText = QT_TRANSLATE_NOOP(
    "DataSourceDialog",
    "No data source is set up on this computer yet.\n"
    "\n"
    "Add one with your desktop's ODBC tool (such as the ODBC Data Source Administrator), or on "
    "the command line:\n"
    "\n"
    "    odbcinst -i -s -h -f mydata.ini\n"
    "\n"
    "where mydata.ini names the data source, its driver and its database, for example\n"
    "\n"
    "    [MyData]\n"
    "    Driver = SQLite3\n"
    "    Database = /home/me/mydata.db\n"
    "\n"
    "\"odbcinst -q -d\" lists the installed drivers. Then specify the data source again.");

namespace {

constexpr int NameRole = Qt::UserRole;

// A failure that a different user name or password may mend.
bool isLoginFailure(const OdbcError &error)
{
    for (const SqlDiagnosticRecord &record : error.records()) {
        if (record.state.starts_with("28"))
            return true;
    }
    return false;
}

class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

DataSourceDialog::DataSourceDialog(OdbcDatabase &database, MessageSink &sink, QWidget *parent)
    : QDialog(parent), m_database(database), m_sink(sink)
{
    setWindowTitle(tr("Select Data Source"));

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(createMachineTab(), tr("Machine Data Source"));
    m_tabs->addTab(createFileTab(), tr("File Data Source"));

    m_login = new QGroupBox(tr("Login"), this);
    m_userName = new QLineEdit(m_login);
    m_userName->setObjectName(QStringLiteral("userName"));
    m_password = new QLineEdit(m_login);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *loginLayout = new QFormLayout(m_login);
    loginLayout->addRow(tr("User name:"), m_userName);
    loginLayout->addRow(tr("Password:"), m_password);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &DataSourceDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &DataSourceDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_login);
    layout->addWidget(m_buttons);
    resize(dialogUnits(this, 300, 220));

    connect(m_tabs, &QTabWidget::currentChanged, this, &DataSourceDialog::chosenSourceChanged);
    listMachineDataSources();
    showFileFolder(fileDataSourceFolder());
    chosenSourceChanged();
}

QWidget *DataSourceDialog::createMachineTab()
{
    auto *tab = new QWidget;
    auto *explanation = new QLabel(
        tr("Select the data source: user data sources are yours alone, system data sources are "
           "shared by every user of this computer."),
        tab);
    explanation->setWordWrap(true);

    m_machineList = new QTreeWidget(tab);
    m_machineList->setObjectName(QStringLiteral("machineDataSources"));
    m_machineList->setRootIsDecorated(false);
    m_machineList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_machineList->setHeaderLabels(
        {tr("Data Source Name"), tr("Type"), tr("Driver"), tr("Description")});
    m_machineList->header()->setStretchLastSection(true);

    m_noMachineSource = new QLabel(tr(NoMachineDataSourceText), tab);
    m_noMachineSource->setObjectName(QStringLiteral("noMachineDataSource"));
    m_noMachineSource->setWordWrap(true);
    m_noMachineSource->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_noMachineSource->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_machineStack = new QStackedWidget(tab);
    m_machineStack->addWidget(m_machineList);
    m_machineStack->addWidget(m_noMachineSource);

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(explanation);
    layout->addWidget(m_machineStack, 1);

    connect(m_machineList, &QTreeWidget::itemSelectionChanged, this,
            &DataSourceDialog::chosenSourceChanged);
    connect(m_machineList, &QTreeWidget::itemActivated, this, &DataSourceDialog::accept);
    return tab;
}

QWidget *DataSourceDialog::createFileTab()
{
    auto *tab = new QWidget;
    m_fileFolder = new QLabel(tab);
    m_fileFolder->setTextFormat(Qt::PlainText);
    m_fileList = new QListWidget(tab);
    m_fileList->setObjectName(QStringLiteral("fileDataSources"));
    m_fileName = new QLineEdit(tab);
    m_fileName->setObjectName(QStringLiteral("fileDataSourceName"));
    auto *browse = new QPushButton(tr("Browse..."), tab);

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(tr("DSN Name:"), tab));
    nameRow->addWidget(m_fileName, 1);
    nameRow->addWidget(browse);

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(m_fileFolder);
    layout->addWidget(m_fileList, 1);
    layout->addLayout(nameRow);

    connect(m_fileList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item != nullptr)
            m_fileName->setText(item->data(NameRole).toString());
    });
    connect(m_fileList, &QListWidget::itemActivated, this, &DataSourceDialog::accept);
    connect(m_fileName, &QLineEdit::textChanged, this, &DataSourceDialog::chosenSourceChanged);
    connect(browse, &QPushButton::clicked, this, &DataSourceDialog::browseForFile);
    return tab;
}

void DataSourceDialog::listMachineDataSources()
{
    try {
        m_machineSources = ::listMachineDataSources(m_database.environment());
    } catch (const OdbcError &error) {
        m_sink.show(driverErrorMessage(error.what()));
        m_machineSources.clear();
    }
    m_machineList->clear();
    for (std::size_t i = 0; i < m_machineSources.size(); ++i) {
        const MachineDataSource &source = m_machineSources[i];
        auto *item = new QTreeWidgetItem(
            m_machineList,
            QStringList{fromBytes(source.name),
                        source.scope == DataSourceScope::User ? tr("User") : tr("System"),
                        fromBytes(source.driver), fromBytes(source.description)});
        item->setData(0, NameRole, static_cast<qulonglong>(i));
    }
    for (int column = 0; column < 3; ++column)
        m_machineList->resizeColumnToContents(column);
    m_machineStack->setCurrentWidget(m_machineSources.empty()
                                         ? static_cast<QWidget *>(m_noMachineSource)
                                         : static_cast<QWidget *>(m_machineList));
    if (m_machineList->topLevelItemCount() > 0) {
        m_machineList->setCurrentItem(m_machineList->topLevelItem(0));
        m_machineList->setFocus();
    }
}

void DataSourceDialog::showFileFolder(const fs::path &folder)
{
    m_fileFolder->setText(tr("Look in: %1").arg(fromBytes(folder.string())));
    m_fileList->clear();
    for (const fs::path &file : listFileDataSources(folder)) {
        auto *item = new QListWidgetItem(fromBytes(file.filename().string()), m_fileList);
        item->setData(NameRole, fromBytes(file.string()));
    }
}

void DataSourceDialog::browseForFile()
{
    const QString file =
        QFileDialog::getOpenFileName(this, tr("Select File Data Source"), m_fileName->text(),
                                     tr("File Data Sources (*.dsn);;All Files (*)"));
    if (!file.isEmpty())
        m_fileName->setText(file);
}

void DataSourceDialog::chosenSourceChanged()
{
    LoginSettings settings;
    if (m_tabs->currentIndex() == MachineTab) {
        const QTreeWidgetItem *item = m_machineList->currentItem();
        if (item != nullptr && item->isSelected()) {
            const MachineDataSource &source =
                m_machineSources[item->data(0, NameRole).toULongLong()];
            settings = readLoginSettings([&source](const std::string &key) {
                return machineDataSourceSetting(source, key);
            });
        }
    } else if (!m_fileName->text().isEmpty()) {
        const fs::path file = toBytes(m_fileName->text());
        settings = readLoginSettings(
            [&file](const std::string &key) { return fileDataSourceSetting(file, key); });
    }
    showLogin(settings);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!chosenConnectString().empty());
}

void DataSourceDialog::showLogin(const LoginSettings &settings)
{
    m_userName->setText(fromBytes(settings.userName));
    m_password->setText(fromBytes(settings.password));
    m_login->setEnabled(settings.needsLogin);
}

std::string DataSourceDialog::chosenConnectString() const
{
    std::string connect;
    if (m_tabs->currentIndex() == MachineTab) {
        const QTreeWidgetItem *item = m_machineList->currentItem();
        if (item == nullptr || !item->isSelected())
            return {};
        connect =
            connectPairText("DSN", m_machineSources[item->data(0, NameRole).toULongLong()].name);
    } else {
        if (m_fileName->text().isEmpty())
            return {};
        connect = connectPairText("FILEDSN", toBytes(m_fileName->text()));
    }
    if (m_login->isEnabled()) {
        if (!m_userName->text().isEmpty())
            connect.append(";").append(connectPairText("UID", toBytes(m_userName->text())));
        if (!m_password->text().isEmpty())
            connect.append(";").append(connectPairText("PWD", toBytes(m_password->text())));
    }
    return connect;
}

void DataSourceDialog::accept()
{
    const std::string connect = chosenConnectString();
    if (connect.empty())
        return;
    // A file data source may come from anyone: what it would make the driver manager or a
    // driver load or write is refused before either sees it.
    const ConnectionCheck check = checkConnectString(connect);
    if (!check.allowed) {
        m_sink.show(Message{check.reason, "Ormund", MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }
    try {
        const WaitCursor waiting;
        m_database.open(check.connectString);
    } catch (const OdbcError &error) {
        m_sink.show(driverErrorMessage(error.what()));
        if (isLoginFailure(error)) {
            m_login->setEnabled(true);
            m_password->setFocus();
            m_password->selectAll();
        }
        return;
    }
    QDialog::accept();
}

bool DialogDataSourceChooser::choose(OdbcDatabase &database)
{
    DataSourceDialog dialog(database, m_sink, m_owner);
    return dialog.exec() == QDialog::Accepted;
}
