// SPDX-License-Identifier: MIT
#include "picker/pickerdialogs.h"

#include "desktop/descriptionfiles.h"
#include "desktop/launch.h"
#include "picker/capture/capture.h"
#include "picker/dialogs/aboutbox.h"
#include "picker/dialogs/nodescriptiondialog.h"
#include "picker/dialogs/pickeddataview.h"
#include "picker/dialogs/valueeditor.h"

namespace {

// The dialogs are always owned by the picker's main window.
PickerWindow &Picker(QWidget *owner)
{
    return *static_cast<PickerWindow *>(owner);
}

PickerServices::NoDescriptionChoice AskNoDescription(QWidget *owner)
{
    switch (NoDescriptionDialog::ask(owner)) {
    case NoDescriptionDialog::Choice::CreateNew:
        return PickerServices::NoDescriptionChoice::CreateNew;
    case NoDescriptionDialog::Choice::LoadExisting:
        return PickerServices::NoDescriptionChoice::LoadExisting;
    case NoDescriptionDialog::Choice::GaveUp:
        break;
    }
    return PickerServices::NoDescriptionChoice::GaveUp;
}

void EditField(QWidget *owner, int field)
{
    PickerWindow &picker = Picker(owner);
    ValueEditor editor(owner, picker.description(), picker.capture().row(), field,
                       [&picker](int f, bool filled) { picker.showFieldFilled(f, filled); });
    editor.placeBesideButton(picker.frameGeometry(), picker.clientArea()->mapToGlobal(QPoint(0, 0)),
                             picker.fieldButtonRect(field),
                             static_cast<int>(picker.orientation() == Orientation::Row));
    editor.exec();
}

int ViewPickedData(QWidget *owner)
{
    PickerWindow &picker = Picker(owner);
    PickedDataView view(owner, picker.description(), picker.capture().row());
    view.move(picker.clientArea()->mapToGlobal(QPoint(0, 0)));
    view.exec();
    return view.fieldToEdit();
}

void ShowAbout(QWidget *owner)
{
    PickerWindow &picker = Picker(owner);
    AboutBox about(owner, [&picker] { picker.showHelp(); });
    about.exec();
}

} // namespace

PickerServices DesktopPickerServices()
{
    PickerServices services;
    services.chooseDescriptionFile = ChooseDescriptionFile;
    services.askNoDescription = AskNoDescription;
    services.startWizard = [](LaunchFailure *failure) {
        return StartSiblingProgram("ormund", {}, failure);
    };
    services.showHelp = [](LaunchFailure *failure) {
        return ShowHelpPage({}, failure);
    };
    services.editField = EditField;
    services.viewPickedData = ViewPickedData;
    services.showAbout = ShowAbout;
    return services;
}
