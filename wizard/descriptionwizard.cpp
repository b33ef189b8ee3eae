// SPDX-License-Identifier: MIT
#include "wizard/descriptionwizard.h"

#include "fieldvalues/usertext.h"

#include <QIcon>
#include <QShortcut>

#include "desktop/descriptionfiles.h"
#include "desktop/launch.h"
#include "odbc/error.h"
#include "wizard/aboutbox.h"
#include "wizard/datasourcedialog.h"
#include "wizard/datasourcepage.h"
#include "wizard/fieldpage.h"
#include "wizard/tablepage.h"

namespace {

// The help page's topic for the wizard.
constexpr std::string_view HelpAnchor = "wizard";

} // namespace

// The icon and the picture live in this library; a static library's resources are registered
// by hand.
static void registerResources()
{
    Q_INIT_RESOURCE(ormund);
}

Message driverErrorMessage(const std::string &text)
{
    return Message{text, "Ormund", MessageIcon::Stop, MessageButtons::Ok};
}

DescriptionWizard::DescriptionWizard(MessageSink &sink, DataSourceChooser *chooser, QWidget *parent)
    : QWizard(parent), m_sink(sink), m_chooser(chooser)
{
    registerResources();
    if (m_chooser == nullptr) {
        m_ownChooser = std::make_unique<DialogDataSourceChooser>(this, m_sink);
        m_chooser = m_ownChooser.get();
    }
    m_saveFileChooser = chooseSaveDescriptionFile;
    m_pickerStarter = [](const std::string &path, LaunchFailure *failure) {
        return startSiblingProgram("quillon", {path}, failure);
    };
    setWizardStyle(QWizard::ClassicStyle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/ormund")));

    m_dataSourcePage = new DataSourcePage(*this);
    m_tablePage = new TablePage(*this);
    m_fieldPage = new FieldPage(*this);
    setPage(DataSourcePageId, m_dataSourcePage);
    setPage(TablePageId, m_tablePage);
    setPage(FieldPageId, m_fieldPage);
    setStartId(DataSourcePageId);

    // The help command answers F1 on every page, like the data source page's Help button.
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &DescriptionWizard::showHelp);
    connect(this, &QWizard::currentIdChanged, this, &DescriptionWizard::activatePage);
    setWindowTitle(DataSourcePage::tr(DataSourcePage::Caption));
}

DescriptionWizard::~DescriptionWizard() = default;

bool DescriptionWizard::runGuarded(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const OdbcError &error) {
        m_sink.show(driverErrorMessage(error.what()));
        return false;
    }
}

void DescriptionWizard::showHelp()
{
    LaunchFailure failure;
    if (!showHelpPage(HelpAnchor, &failure)) {
        m_sink.show(
            Message{fillIn(userText("DescriptionWizard", "The help page %1 cannot be shown.\n%2"),
                           {failure.path, failure.reason}),
                    "Ormund", MessageIcon::Exclamation, MessageButtons::Ok});
    }
}

void DescriptionWizard::showAbout()
{
    AboutBox about(this);
    about.exec();
}

bool DescriptionWizard::chooseSaveFile(std::string &path)
{
    path = "default.dtd";
    return m_saveFileChooser(this, path);
}

void DescriptionWizard::launchPicker(const std::string &path)
{
    LaunchFailure failure;
    if (!m_pickerStarter(path, &failure))
        m_sink.show(
            Message{fillIn(userText("DescriptionWizard", "Quillon cannot be started: %1\n%2"),
                           {failure.path, failure.reason}),
                    "Ormund", MessageIcon::Exclamation, MessageButtons::Ok});
}

bool DescriptionWizard::saveDescription(const std::vector<FieldRow> &fields)
{
    std::string path;
    if (!chooseSaveFile(path))
        return false;
    // The save writes a new file beside the old one and puts it in its place only when every
    // byte was written: a failed save leaves the old file and the wizard open. A password in the
    // connect string is for the owner's eyes alone.
    const std::string &connectString = m_session.connectString();
    const SaveAccess access =
        carriesPassword(connectString) ? SaveAccess::OwnerOnly : SaveAccess::AsUsual;
    Message failure;
    if (!saveTableDescription(path, connectString, m_session.tableReference(), fields, &failure,
                              access)) {
        m_sink.show(failure);
        return false;
    }
    const MessageAnswer answer = m_sink.show(
        Message{userText("DescriptionWizard", "Database table information has been saved.\nDo you "
                                              "want to start Quillon now ?"),
                "Ormund", MessageIcon::Question, MessageButtons::YesNo});
    if (answer == MessageAnswer::Yes)
        launchPicker(path);
    return true;
}

void DescriptionWizard::activatePage(int id)
{
    switch (id) {
    case DataSourcePageId:
        setWindowTitle(DataSourcePage::tr(DataSourcePage::Caption));
        break;
    case TablePageId:
        setWindowTitle(TablePage::tr(TablePage::Caption));
        m_tablePage->activate();
        break;
    case FieldPageId:
        setWindowTitle(FieldPage::tr(FieldPage::Caption));
        m_fieldPage->activate();
        break;
    default:
        return;
    }
    // The keyboard starts at the page's own control: the button that specifies a data source,
    // the list of tables.
    currentPage()->setFocus();
}
