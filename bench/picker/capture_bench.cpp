// SPDX-License-Identifier: MIT
// Click-to-value latency of picking from a real application (Tk's wish) on a real X server, in
// both ways of picking (copy: focus and Ctrl+C; selection: PRIMARY read at once), next to the
// bare Xlib copy sequence from a click on a plain X window, all in the same run. It needs an
// X server with a window manager; without DISPLAY it starts itself under tests/support/with-x
// (a private Xvfb with openbox), so it runs headless as it is: build/bin/capture_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <benchmark/benchmark.h>

#include "bench/picker/capture_bare.h"
#include "fieldvalues/fieldtypes.h"
#include "picker/capture/capture.h"
#include "tests/support/withx.h"
#include "tests/support/x11input.h"

namespace {

constexpr int Runs = 20;
constexpr const char *SelectedText = "benchmark text";

class SilentSink final : public MessageSink
{
public:
    MessageAnswer show(const Message &) override { return MessageAnswer::Ok; }
};

// The picker side: a window with one field button wired to the capture controller, and the
// target, a Tk text window holding a selected text.
struct Scene
{
    Scene() : backend(CreateCaptureBackend()), controller(*backend, messages)
    {
        description.connectString = "DSN=none";
        description.tableName = "t";
        description.fieldCount = 1;
        description.fields[0].name = description.fields[0].title = "Name";
        description.fields[0].sqlType = 12;
        description.fields[0].length = 100;
        SetValueWidths(description);
        controller.tableLoaded(description);
        controller.resetRow();
        controller.setBeepHook([] {});

        window.setWindowTitle(QStringLiteral("Quillon"));
        window.setWindowFlag(Qt::WindowStaysOnTopHint);
        auto *layout = new QVBoxLayout(&window);
        button = new QPushButton(QStringLiteral("Name"), &window);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { controller.pickField(0); });
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
        while (!deadline.hasExpired() && (targetWindow = x11input::ClientWindowOf(own)) == 0)
            settle(50);
        settle(300);
    }

    ~Scene()
    {
        target.kill();
        target.waitForFinished(5000);
    }

    bool ready() const { return backend->available() && targetWindow != 0; }

    static void settle(int milliseconds)
    {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // One pick in the given way: the click on the field button until the value is stored.
    // Returns the time in seconds, negative on failure.
    double pickOnce(CaptureMode mode)
    {
        controller.setCaptureMode(mode);
        controller.row().value[0].clear();
        const QPoint centre = button->mapToGlobal(button->rect().center());
        QEventLoop loop;
        const QMetaObject::Connection done = QObject::connect(
            &controller, &CaptureController::valuePicked, &loop, &QEventLoop::quit);
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        const auto start = std::chrono::steady_clock::now();
        x11input::ClickAt(centre.x(), centre.y());
        loop.exec();
        const auto end = std::chrono::steady_clock::now();
        QObject::disconnect(done);
        if (controller.row().value[0] != SelectedText)
            return -1;
        return std::chrono::duration<double>(end - start).count();
    }

    SilentSink messages;
    TableDescription description;
    std::unique_ptr<CaptureBackend> backend;
    CaptureController controller;
    QWidget window;
    QPushButton *button = nullptr;
    QProcess target;
    std::uint64_t targetWindow = 0;
};

Scene *g_scene = nullptr;
double g_bareMedian = 0;
double g_pickerMedian = 0;
double g_selectionMedian = 0;

double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

// Each iteration runs the bare sequence, then the picker's copy, then its pick from the
// selection, so that all three meet the same load on the machine; the iteration's time is the
// picker's copy.
void BM_ClickToValue(benchmark::State &state)
{
    BareCapture bare;
    if (!bare.ready() || !g_scene->ready()) {
        state.SkipWithError("no X server with a window manager, or no wish");
        return;
    }
    // Both start with the target active, as after the user selected the text.
    bare.activate(g_scene->targetWindow);
    std::vector<double> bareSamples;
    std::vector<double> pickerSamples;
    std::vector<double> selectionSamples;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const std::string text = bare.clickAndCopyFrom(g_scene->targetWindow);
        const auto end = std::chrono::steady_clock::now();
        if (text != SelectedText) {
            state.SkipWithError("the bare sequence did not bring the text");
            return;
        }
        bareSamples.push_back(std::chrono::duration<double>(end - start).count());
        Scene::settle(20);

        const double seconds = g_scene->pickOnce(CaptureMode::Copy);
        if (seconds < 0) {
            state.SkipWithError("the picked value did not arrive");
            return;
        }
        state.SetIterationTime(seconds);
        pickerSamples.push_back(seconds);
        Scene::settle(20);

        // The target's text is still selected.
        const double selection = g_scene->pickOnce(CaptureMode::Selection);
        if (selection < 0) {
            state.SkipWithError("the value picked from the selection did not arrive");
            return;
        }
        selectionSamples.push_back(selection);
        Scene::settle(20);
    }
    g_bareMedian = Median(bareSamples);
    g_pickerMedian = Median(pickerSamples);
    g_selectionMedian = Median(selectionSamples);
    state.counters["median_ms"] = g_pickerMedian * 1000;
    state.counters["selection_median_ms"] = g_selectionMedian * 1000;
    state.counters["bare_median_ms"] = g_bareMedian * 1000;
    state.counters["ratio"] = g_pickerMedian / g_bareMedian;
    state.counters["selection_ratio"] = g_selectionMedian / g_bareMedian;
}

BENCHMARK(BM_ClickToValue)->Iterations(Runs)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    RunUnderXWhenHeadless(argc, argv, WITH_X);
    // Only the X11 platform reaches other applications.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Scene scene;
    g_scene = &scene;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_bareMedian > 0 && g_pickerMedian > 0 && g_selectionMedian > 0)
        std::printf("click to value (median of %d): copy %.2f ms, selection %.2f ms, bare copy "
                    "sequence %.2f ms; ratios to the bare sequence: copy %.2f, selection %.2f\n",
                    Runs, g_pickerMedian * 1000, g_selectionMedian * 1000, g_bareMedian * 1000,
                    g_pickerMedian / g_bareMedian, g_selectionMedian / g_bareMedian);
    std::fflush(stdout);
    g_scene = nullptr;
    return 0;
}
