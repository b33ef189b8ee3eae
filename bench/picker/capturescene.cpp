// SPDX-License-Identifier: MIT
#include "bench/picker/capturescene.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>

#include "fieldvalues/fieldtypes.h"
#include "picker/toolbarbuttons.h"
#include "tests/support/x11input.h"

CaptureScene::CaptureScene() : backend(createCaptureBackend()), controller(*backend, messages)
{
    description.connectString = "DSN=none";
    description.tableName = "t";
    description.fieldCount = 1;
    description.fields[0].name = description.fields[0].title = "Name";
    description.fields[0].sqlType = 12;
    description.fields[0].length = 100;
    setValueWidths(description);
    controller.tableLoaded(description);
    controller.resetRow();
    controller.setBeepHook([] {});

    window.setWindowTitle(QStringLiteral("Quillon"));
    window.setWindowFlag(Qt::WindowStaysOnTopHint);
    // The picker's own toolbar with the field's button, as the picker's window holds it.
    auto *layout = new QVBoxLayout(&window);
    auto *toolbar = new KolvaneToolbar(&window, ToolbarControlId, QPixmap(), ToolbarImageCount,
                                       Orientation::Column);
    toolbar->insertButton(0, fieldButton(description.fields[0], 0));
    layout->addWidget(toolbar);
    button = toolbar->buttonWidget(0);
    QObject::connect(toolbar, &KolvaneToolbar::commandActivated, [this](int command, Gesture how) {
        if (command == FirstFieldCommand && how == Gesture::Pick)
            controller.pickField(0);
    });
    controller.setPickerWindow(&window);
    window.move(5, 5);
    window.show();

    target.start(QStringLiteral("wish"),
                 {QStringLiteral(TK_TARGET_SCRIPT), QString::fromLatin1(SelectedText),
                  QStringLiteral("400"), QStringLiteral("300")});
    QDeadlineTimer deadline(10000);
    QByteArray line;
    while (!deadline.hasExpired() && !line.startsWith("ready ")) {
        if (target.canReadLine())
            line = target.readLine();
        else
            target.waitForReadyRead(100);
    }
    const std::uint64_t own = std::strtoull(line.mid(6).trimmed().constData(), nullptr, 0);
    while (!deadline.hasExpired() && (targetWindow = x11input::clientWindowOf(own)) == 0)
        settle(50);
    settle(300);
}

CaptureScene::~CaptureScene()
{
    target.kill();
    target.waitForFinished(5000);
}

void CaptureScene::settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void CaptureScene::clickButton() const
{
    const QPoint centre = button->mapToGlobal(button->rect().center());
    x11input::clickAt(centre.x(), centre.y());
}

double CaptureScene::pickOnce(const std::function<void()> &trigger)
{
    controller.row().value[0].clear();
    QEventLoop loop;
    const QMetaObject::Connection done =
        QObject::connect(&controller, &CaptureController::valuePicked, &loop, &QEventLoop::quit);
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    const auto start = std::chrono::steady_clock::now();
    trigger();
    loop.exec();
    const auto end = std::chrono::steady_clock::now();
    QObject::disconnect(done);
    if (controller.row().value[0] != SelectedText)
        return -1;
    return std::chrono::duration<double>(end - start).count();
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}
