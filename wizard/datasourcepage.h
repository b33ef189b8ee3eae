// SPDX-License-Identifier: MIT
#pragma once

#include <QWizardPage>

class DescriptionWizard;
class QLabel;
class QPushButton;

// The wizard's first page: the user specifies a data source and sees what was chosen; About and
// Help live here. Next goes on only while a data source is connected.
class DataSourcePage : public QWizardPage
{
    Q_OBJECT

public:
    static constexpr const char *Caption =
        QT_TRANSLATE_NOOP("DataSourcePage", "ormund: Specify Data Source");

    explicit DataSourcePage(DescriptionWizard &wizard);

    // "Specify Data Source": lets the user choose a data source and shows its description.
    void specifyDataSource();
    bool validatePage() override;

    // The description of the data source, or what says that none is connected.
    QLabel *descriptionLabel() const { return m_description; }
    QPushButton *specifyButton() const { return m_specify; }

private:
    DescriptionWizard &m_wizard;
    QLabel *m_description = nullptr;
    QPushButton *m_specify = nullptr;
};
