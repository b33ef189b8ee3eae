// SPDX-License-Identifier: MIT
// The mini frame holding the toolbar, as the picker shows it: three field buttons, a separator
// and "Enter", in a column (caption down the left edge) or in a row (caption along the top).
//
//   miniframe-demo [--orientation 0|1] [--titles A,B,C] [--screenshot FILE [--scale N]]
//                  [--trace]
//
// A left click on a field button fills or empties it, a right click reports it; a left click on
// "Enter" flips its look. The window menu has "Change Orientation" and "Always On Top". With
// --screenshot the window is saved to FILE once it is shown and active, and the demo ends;
// --scale enlarges the picture N times, pixel for pixel. With --trace the demo reports on its
// standard output what happens to it, one line each: "shown X Y W H", "moved X Y",
// "resized W H", "active", "menu shown", "menu hidden", "menu command ID",
// "command ID GESTURE" (0 a pick, 1 an edit), "minimized", "closed".

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCommandLineParser>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "kolvane/kolvane.h"
#include "picker/frame/miniframe.h"
#include "picker/toolbarbuttons.h"

namespace {

bool tracing = false;

void trace(const QString &line)
{
    if (!tracing)
        return;
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

constexpr int AlwaysOnTopCommand = 2017;
constexpr int ChangeOrientationCommand = 2018;

class DemoWindow : public MiniFrame
{
public:
    DemoWindow(int orientation, const QStringList &titles)
        : MiniFrame(PickerWindowStyle | (orientation ? IBS_HORZCAPTION : IBS_VERTCAPTION)),
          m_orientation(orientation ? 1 : 0), m_fieldCount(static_cast<int>(titles.size()))
    {
        setWindowTitle(QStringLiteral("Quillon"));
        ibSetCaptionSize(this, ibGetCaptionSize(this) + 2);

        insertMenuSeparator(3);
        insertMenuCommand(3, AlwaysOnTopCommand, QStringLiteral("Always On &Top"))
            ->setCheckable(true);
        menuAction(AlwaysOnTopCommand)->setChecked(true);
        insertMenuCommand(3, ChangeOrientationCommand, QStringLiteral("Change Orientation"));
        connect(this, &MiniFrame::menuCommand, this, &DemoWindow::onMenuCommand);

        for (int i = 0; i < m_fieldCount; ++i) {
            FieldDescription field;
            field.title = titles.at(i).toLocal8Bit().toStdString();
            ButtonRecord record = fieldButton(field, i);
            record.valueState = fieldFillState(i % 2 == 0);
            m_records.push_back(record);
        }
        m_records.push_back(separatorButton());
        m_records.push_back(enterButton());
        for (const ButtonRecord &record : m_records)
            m_fill[record.command] = record.valueState;

        resizeForLayout();
        m_toolbar = createToolbar(clientArea(), TBS_VISIBLE, ToolbarControlId, ToolbarImageCount,
                                  nullptr, ToolbarBitmap, m_records.data(),
                                  static_cast<int>(m_records.size()), m_orientation);
        connect(m_toolbar, &KolvaneToolbar::commandActivated, this, &DemoWindow::onCommand);
        connect(windowMenu(), &QMenu::aboutToShow, this,
                [] { trace(QStringLiteral("menu shown")); });
        connect(windowMenu(), &QMenu::aboutToHide, this,
                [] { trace(QStringLiteral("menu hidden")); });
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        MiniFrame::showEvent(event);
        QPoint origin = mapToGlobal(QPoint(0, 0));
        trace(QStringLiteral("shown %1 %2 %3 %4")
                  .arg(origin.x())
                  .arg(origin.y())
                  .arg(width())
                  .arg(height()));
    }

    void moveEvent(QMoveEvent *event) override
    {
        MiniFrame::moveEvent(event);
        QPoint origin = mapToGlobal(QPoint(0, 0));
        trace(QStringLiteral("moved %1 %2").arg(origin.x()).arg(origin.y()));
    }

    void resizeEvent(QResizeEvent *event) override
    {
        MiniFrame::resizeEvent(event);
        trace(QStringLiteral("resized %1 %2").arg(width()).arg(height()));
    }

    void changeEvent(QEvent *event) override
    {
        MiniFrame::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow())
            trace(QStringLiteral("active"));
        if (event->type() == QEvent::WindowStateChange && isMinimized())
            trace(QStringLiteral("minimized"));
    }

    void closeEvent(QCloseEvent *event) override
    {
        trace(QStringLiteral("closed"));
        MiniFrame::closeEvent(event);
    }

private:
    void resizeForLayout()
    {
        int f = 2 * SM_CXFRAME - 1;
        int c = ibGetCaptionSize(this);
        if (m_orientation == 0)
            resize(f + c + 68, f + 24 * m_fieldCount + 60);
        else
            resize(f + 64 * m_fieldCount + 100, f + c + 27);
    }

    void onCommand(int command, Gesture gesture)
    {
        trace(QStringLiteral("command %1 %2").arg(command).arg(static_cast<int>(gesture)));
        if (gesture != Gesture::Pick)
            return;
        int &state = m_fill[command];
        if (command == EnterCommand)
            state = state == TBFILL_ENTER ? TBFILL_ENTER2 : TBFILL_ENTER;
        else if (command != SeparatorCommand)
            state = state == TBFILL_EMPTY ? TBFILL_FILLED : TBFILL_EMPTY;
        m_toolbar->setFillState(command, state);
    }

    void onMenuCommand(int id)
    {
        trace(QStringLiteral("menu command %1").arg(id));
        if (id == ChangeOrientationCommand) {
            std::uint32_t style = styleBits();
            m_orientation = m_orientation ? 0 : 1;
            style &= ~(IBS_VERTCAPTION | IBS_HORZCAPTION);
            style |= m_orientation ? IBS_HORZCAPTION : IBS_VERTCAPTION;
            setStyleBits(style);
            m_toolbar->setOrientation(m_orientation ? Orientation::Row : Orientation::Column);
            resizeForLayout();
            m_toolbar->fitToParent();
        } else if (id == AlwaysOnTopCommand) {
            bool onTop = !isAlwaysOnTop();
            setAlwaysOnTop(onTop);
            menuAction(AlwaysOnTopCommand)->setChecked(onTop);
        }
    }

    int m_orientation;
    int m_fieldCount;
    std::vector<ButtonRecord> m_records;
    std::map<int, int> m_fill;
    KolvaneToolbar *m_toolbar = nullptr;
};

// Saves the window once it is active (or after a second at most) and quits.
void scheduleScreenshot(QWidget *window, const QString &file, int scale)
{
    auto shoot = [window, file, scale] {
        static bool done = false;
        if (done)
            return;
        done = true;
        // One more moment for the repaint that activation asks for; the window is painted
        // afresh all the same, so that a slow machine gives the same picture.
        QTimer::singleShot(150, window, [window, file, scale] {
            window->repaint();
            QScreen *screen = window->screen();
            QPixmap picture = screen ? screen->grabWindow(window->winId()) : QPixmap();
            if (picture.isNull())
                picture = window->grab();
            if (scale > 1)
                picture = picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio,
                                         Qt::FastTransformation);
            bool saved = picture.save(file, "PNG");
            if (!saved)
                std::fprintf(stderr, "miniframe-demo: cannot write %s\n", qPrintable(file));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    };
    QObject::connect(window->windowHandle(), &QWindow::activeChanged, window, [window, shoot] {
        if (window->isActiveWindow())
            shoot();
    });
    if (window->isActiveWindow())
        shoot();
    QTimer::singleShot(1000, window, shoot);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillon")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The picker's frame and toolbar."));
    parser.addHelpOption();
    QCommandLineOption orientation(QStringLiteral("orientation"),
                                   QStringLiteral("0: buttons in a column, 1: in a row."),
                                   QStringLiteral("n"), QStringLiteral("0"));
    QCommandLineOption titles(QStringLiteral("titles"),
                              QStringLiteral("Field titles, separated by commas."),
                              QStringLiteral("list"), QStringLiteral("Name,Street,Birthday"));
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save the window to a PNG file and quit."),
                                  QStringLiteral("file"));
    QCommandLineOption scale(QStringLiteral("scale"),
                             QStringLiteral("Enlarge the screenshot N times."), QStringLiteral("n"),
                             QStringLiteral("1"));
    QCommandLineOption trace(QStringLiteral("trace"),
                             QStringLiteral("Report what happens on standard output."));
    parser.addOptions({orientation, titles, screenshot, scale, trace});
    parser.process(app);
    tracing = parser.isSet(trace);

    QStringList fieldTitles = parser.value(titles).split(QLatin1Char(','));
    while (fieldTitles.size() > 30)
        fieldTitles.removeLast();
    DemoWindow window(parser.value(orientation).toInt(), fieldTitles);
    window.setAlwaysOnTop(true);
    window.move(5, 5);
    window.show();
    window.activateWindow();
    if (parser.isSet(screenshot))
        scheduleScreenshot(&window, parser.value(screenshot),
                           std::clamp(parser.value(scale).toInt(), 1, 8));
    return QApplication::exec();
}
