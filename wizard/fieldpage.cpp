#include "wizard/fieldpage.h"

#include "wizard/descriptionwizard.h"
#include "wizard/dialogunits.h"

FieldPage::FieldPage(DescriptionWizard &wizard) : m_wizard(wizard)
{
    setMinimumSize(DialogUnits(this, 336, 178));
    setFinalPage(true);
}

void FieldPage::activate() {}
