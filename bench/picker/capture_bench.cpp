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
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <benchmark/benchmark.h>

#include "bench/picker/capture_bare.h"
#include "bench/picker/capturescene.h"
#include "fieldvalues/fieldtypes.h"
#include "picker/capture/capture.h"
#include "tests/support/withx.h"
#include "tests/support/x11input.h"

namespace {

constexpr int Runs = 20;

CaptureScene *g_scene = nullptr;
double g_bareMedian = 0;
double g_pickerMedian = 0;
double g_selectionMedian = 0;

// Each iteration runs the bare sequence, then the picker's copy, then its pick from the
// selection, so that all three meet the same load on the machine; the iteration's time is the
// picker's copy.
void bmClickToValue(benchmark::State &state)
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
        CaptureScene::settle(20);

        g_scene->controller.setCaptureMode(CaptureMode::Copy);
        const double seconds = g_scene->pickOnce([] { g_scene->clickButton(); });
        if (seconds < 0) {
            state.SkipWithError("the picked value did not arrive");
            return;
        }
        state.SetIterationTime(seconds);
        pickerSamples.push_back(seconds);
        CaptureScene::settle(20);

        // The target's text is still selected.
        g_scene->controller.setCaptureMode(CaptureMode::Selection);
        const double selection = g_scene->pickOnce([] { g_scene->clickButton(); });
        if (selection < 0) {
            state.SkipWithError("the value picked from the selection did not arrive");
            return;
        }
        selectionSamples.push_back(selection);
        CaptureScene::settle(20);
    }
    g_bareMedian = median(bareSamples);
    g_pickerMedian = median(pickerSamples);
    g_selectionMedian = median(selectionSamples);
    state.counters["median_ms"] = g_pickerMedian * 1000;
    state.counters["selection_median_ms"] = g_selectionMedian * 1000;
    state.counters["bare_median_ms"] = g_bareMedian * 1000;
    state.counters["ratio"] = g_pickerMedian / g_bareMedian;
    state.counters["selection_ratio"] = g_selectionMedian / g_bareMedian;
}

BENCHMARK(bmClickToValue)->Iterations(Runs)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runSceneBenchmarks(argc, argv, g_scene, [] {
        if (g_bareMedian > 0 && g_pickerMedian > 0 && g_selectionMedian > 0)
            std::printf(
                "click to value (median of %d): copy %.2f ms, selection %.2f ms, bare copy "
                "sequence %.2f ms; ratios to the bare sequence: copy %.2f, selection %.2f\n",
                Runs, g_pickerMedian * 1000, g_selectionMedian * 1000, g_bareMedian * 1000,
                g_pickerMedian / g_bareMedian, g_selectionMedian / g_bareMedian);
    });
}
