#pragma once

#include <QWizardPage>

class DescriptionWizard;

// Dialog 132: the fields of the chosen table, to be picked with their titles and defaults. The
// page holds its place in the wizard; its lists come with the column catalogue's page.
class FieldPage : public QWizardPage
{
    Q_OBJECT

public:
    static constexpr const char *Caption =
        "ormund: Select Fields From A Table To Be Filled Up With Quillon";

    explicit FieldPage(DescriptionWizard &wizard);

    // Called each time the page is shown.
    void activate();

private:
    DescriptionWizard &m_wizard;
};
