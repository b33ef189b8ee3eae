// SPDX-License-Identifier: MIT
// A Qt window holding a selected text, for the capture tests. Arguments: the text, x, y.
// Commands on standard input, one a line: "set TEXT" replaces the text and selects all of it.
// Prints "ready WINDOW" once it is shown.
#include <cstdio>
#include <iostream>
#include <string>

#include <QApplication>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    QPlainTextEdit edit;
    edit.setWindowTitle(QStringLiteral("qt target"));
    edit.setPlainText(args.value(1));
    edit.selectAll();
    edit.resize(420, 120);
    edit.move(args.value(2, QStringLiteral("300")).toInt(),
              args.value(3, QStringLiteral("300")).toInt());
    edit.show();
    edit.activateWindow();
    edit.setFocus();

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            QApplication::quit();
            return;
        }
        if (line.rfind("set ", 0) == 0) {
            // "\n" stands for a line break.
            edit.setPlainText(QString::fromStdString(line.substr(4))
                                  .replace(QStringLiteral("\\n"), QStringLiteral("\n")));
            edit.selectAll();
        }
        std::printf("done\n");
        std::fflush(stdout);
    });
    QTimer::singleShot(0, [&] {
        std::printf("ready %llu\n", static_cast<unsigned long long>(edit.winId()));
        std::fflush(stdout);
    });
    return QApplication::exec();
}
