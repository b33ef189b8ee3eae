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
PickerWindow &pickerOf(QWidget *owner)
{
    return *static_cast<PickerWindow *>(owner);
}

PickerServices::NoDescriptionChoice askNoDescription(QWidget *owner)
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

void editField(QWidget *owner, int field)
{
    PickerWindow &picker = pickerOf(owner);
    ValueEditor editor(owner, picker.description(), picker.capture().row(), field,
                       [&picker](int f, bool filled) { picker.showFieldFilled(f, filled); });
    editor.placeBesideButton(picker.frameGeometry(), picker.clientArea()->mapToGlobal(QPoint(0, 0)),
                             picker.fieldButtonRect(field),
                             static_cast<int>(picker.orientation() == Orientation::Row));
    editor.exec();
}

int viewPickedData(QWidget *owner)
{
    PickerWindow &picker = pickerOf(owner);
    PickedDataView view(owner, picker.description(), picker.capture().row());
    view.move(picker.clientArea()->mapToGlobal(QPoint(0, 0)));
    view.exec();
    return view.fieldToEdit();
}

void showAbout(QWidget *owner)
{
    PickerWindow &picker = pickerOf(owner);
    AboutBox about(owner, [&picker] { picker.showHelp(); });
    about.exec();
}

} // namespace

PickerServices desktopPickerServices()
{
    PickerServices services;
    services.chooseDescriptionFile = chooseDescriptionFile;
    services.askNoDescription = askNoDescription;
    services.startWizard = [](LaunchFailure *failure) {
        return startSiblingProgram("ormund", {}, failure);
    };
    services.showHelp = [](LaunchFailure *failure) {
        return showHelpPage({}, failure);
    };
    services.editField = editField;
    services.viewPickedData = viewPickedData;
    services.showAbout = showAbout;
    return services;
}
