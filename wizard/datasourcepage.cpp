// SPDX-License-Identifier: MIT
#include "wizard/datasourcepage.h"

#include "fieldvalues/usertext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizard/bytes.h"
#include "wizard/descriptionwizard.h"
#include "wizard/dialogunits.h"

namespace {

Message noDataSourceMessage()
{
    return Message{userText("DataSourcePage", "Please Specify a Data Source"),
                   userText("DataSourcePage", "Inform"), MessageIcon::Information,
                   MessageButtons::Ok};
}

} // namespace

DataSourcePage::DataSourcePage(DescriptionWizard &wizard) : m_wizard(wizard)
{
    setMinimumSize(dialogUnits(this, 336, 178));

    auto *picture = new QLabel(this);
    picture->setPixmap(QPixmap(QStringLiteral(":/bitmaps/ormund-picture")));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_description = new QLabel(fromBytes(NoDataSourceSpecifiedText), this);
    m_description->setObjectName(QStringLiteral("dataSourceDescription"));
    m_description->setFrameShape(QFrame::Box);
    m_description->setWordWrap(false);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_description->setTextFormat(Qt::PlainText);
    m_description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_description->setMinimumSize(dialogUnits(this, 227, 88));
    m_description->setMargin(4);

    m_specify = new QPushButton(tr("Specify Data Source"), this);
    m_specify->setObjectName(QStringLiteral("specifyDataSource"));
    auto *about = new QPushButton(tr("About"), this);
    about->setObjectName(QStringLiteral("about"));
    auto *help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("help"));

    auto *explanation =
        new QLabel(tr("    A Data Source is your Database with a name given by you. "
                      "Press the button above to specify or re-specify your Data Source."),
                   this);
    explanation->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_specify);
    buttons->addStretch();
    buttons->addWidget(about);
    buttons->addWidget(help);

    auto *right = new QVBoxLayout;
    right->addWidget(m_description, 1);
    right->addLayout(buttons);
    right->addWidget(explanation);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(picture);
    layout->addLayout(right, 1);

    connect(m_specify, &QPushButton::clicked, this, &DataSourcePage::specifyDataSource);
    connect(about, &QPushButton::clicked, this, [this] { m_wizard.showAbout(); });
    connect(help, &QPushButton::clicked, this, [this] { m_wizard.showHelp(); });
    setFocusProxy(m_specify);
}

void DataSourcePage::specifyDataSource()
{
    DataSourceSession &session = m_wizard.session();
    m_wizard.runGuarded([&] { session.specifyDataSource(m_wizard.chooser()); });
    // Also after an error: the previous connection is gone, and the text says so.
    m_description->setText(fromBytes(session.describeDataSource(m_wizard.messages())));
}

bool DataSourcePage::validatePage()
{
    if (m_wizard.session().isConnected())
        return true;
    m_wizard.messages().show(noDataSourceMessage());
    return false;
}
