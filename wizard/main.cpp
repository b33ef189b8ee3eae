// SPDX-License-Identifier: MIT
// ormund: the wizard that describes one table of an ODBC data source for the picker. One window,
// no command line; the program ends when the window closes.
#include <QApplication>

#include "desktop/messagebox.h"
#include "desktop/translations.h"
#include "wizard/descriptionwizard.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ormund"));
    const Translations translations(QStringLiteral("ormund"), QLocale::system());

    QtMessageSink sink;
    DescriptionWizard wizard(sink);
    sink.setOwner(&wizard);
    // The wizard's icon for its dialogs and message boxes too.
    QApplication::setWindowIcon(wizard.windowIcon());
    wizard.exec();
    return 0;
}
