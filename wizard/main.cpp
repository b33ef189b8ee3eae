// ormund: the wizard that describes one table of an ODBC data source for the picker. One window,
// no command line; the program ends when the window closes.
#include <QApplication>

#include "desktop/messagebox.h"
#include "wizard/descriptionwizard.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ormund"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/128")));

    QtMessageSink sink;
    DescriptionWizard wizard(sink);
    sink.setOwner(&wizard);
    wizard.exec();
    return 0;
}
