#pragma once

#include <QWizardPage>

class DescriptionWizard;
class QLabel;
class QPushButton;

// Dialog 135: the user specifies a data source and sees what was chosen; About and Help live
// here. Next goes on only while a data source is connected.
class DataSourcePage : public QWizardPage
{
    Q_OBJECT

public:
    static constexpr const char *Caption = "ormund: Specify Data Source";

    explicit DataSourcePage(DescriptionWizard &wizard);

    // Button 1076: specifies a data source and shows its description in control 1026.
    void specifyDataSource();
    bool validatePage() override;

    // Control 1026.
    QLabel *descriptionLabel() const { return m_description; }
    QPushButton *specifyButton() const { return m_specify; }

private:
    DescriptionWizard &m_wizard;
    QLabel *m_description = nullptr;
    QPushButton *m_specify = nullptr;
};
