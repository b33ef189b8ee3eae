// SPDX-License-Identifier: MIT
// Key-press-to-value latency of a pick from the keyboard (Ctrl+Alt+1 grabbed on the root window,
// the copy made in the window that keeps the focus) next to the click on a field button and the
// bare Xlib copy sequence, all three in the same run, from a real application (Tk's wish) on a
// real X server. It needs an X server with a window manager; without DISPLAY it starts itself
// under tests/support/with-x, so it runs headless as it is: build/bin/keyboard_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
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
#include "picker/keyboardshortcuts.h"
#include "tests/support/withx.h"
#include "tests/support/x11input.h"

namespace {

constexpr int Runs = 20;
// The picker's own wait for the keys to be let go.
constexpr std::chrono::milliseconds ReleaseWait{250};

using Clock = std::chrono::steady_clock;

// The capture scene with Ctrl+Alt+1 wired to the same field, as the picker wires it.
struct KeyScene : CaptureScene
{
    KeyScene()
    {
        ShortcutSet keys;
        keys.keys[0] = defaultShortcuts().keys[0];
        grabbed = shortcuts.start(keys).empty() && shortcuts.active();
        QObject::connect(&shortcuts, &KeyboardShortcuts::activated, [this](ShortcutAction) {
            const auto start = Clock::now();
            shortcuts.waitForRelease(ReleaseWait);
            releaseWait = std::chrono::duration<double>(Clock::now() - start).count();
            controller.pickFieldInPlace(0);
        });
    }

    bool ready() const { return CaptureScene::ready() && grabbed; }

    KeyboardShortcuts shortcuts;
    bool grabbed = false;
    double releaseWait = 0;
};

KeyScene *g_scene = nullptr;
double g_bare = 0;
double g_click = 0;
double g_keys = 0;
double g_wait = 0;

// Each iteration runs the bare sequence, the click and the keys, so that all three meet the same
// load on the machine; the iteration's time is the keys'.
void bmKeyPressToValue(benchmark::State &state)
{
    BareCapture bare;
    if (!bare.ready() || !g_scene->ready()) {
        state.SkipWithError("no X server with a window manager, no wish, or Ctrl+Alt+1 taken");
        return;
    }
    bare.activate(g_scene->targetWindow);
    std::vector<double> bareSamples;
    std::vector<double> clickSamples;
    std::vector<double> keySamples;
    std::vector<double> waitSamples;
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::string text = bare.clickAndCopyFrom(g_scene->targetWindow);
        const auto end = Clock::now();
        if (text != SelectedText) {
            state.SkipWithError("the bare sequence did not bring the text");
            return;
        }
        bareSamples.push_back(std::chrono::duration<double>(end - start).count());
        CaptureScene::settle(20);

        const double click = g_scene->pickOnce([] { g_scene->clickButton(); });
        if (click < 0) {
            state.SkipWithError("the value picked by the click did not arrive");
            return;
        }
        clickSamples.push_back(click);
        // The click has given the target the focus back: the keys are typed there.
        CaptureScene::settle(20);

        const double keys = g_scene->pickOnce([] {
            x11input::pressKeys({"Control_L", "Alt_L", "1"});
        });
        if (keys < 0) {
            state.SkipWithError("the value picked by the keys did not arrive");
            return;
        }
        state.SetIterationTime(keys);
        keySamples.push_back(keys);
        waitSamples.push_back(g_scene->releaseWait);
        CaptureScene::settle(20);
    }
    g_bare = median(bareSamples);
    g_click = median(clickSamples);
    g_keys = median(keySamples);
    g_wait = median(waitSamples);
    state.counters["median_ms"] = g_keys * 1000;
    state.counters["release_wait_ms"] = g_wait * 1000;
    state.counters["click_median_ms"] = g_click * 1000;
    state.counters["bare_median_ms"] = g_bare * 1000;
    state.counters["ratio_to_bare"] = g_keys / g_bare;
    state.counters["ratio_to_click"] = g_keys / g_click;
}

BENCHMARK(bmKeyPressToValue)->Iterations(Runs)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runSceneBenchmarks(argc, argv, g_scene, [] {
        if (g_bare > 0 && g_click > 0 && g_keys > 0)
            std::printf("to value (median of %d): keys %.2f ms (of which the wait for the keys' "
                        "release %.2f ms), click %.2f ms, bare copy sequence %.2f ms; keys to bare "
                        "%.2f, keys to click %.2f\n",
                        Runs, g_keys * 1000, g_wait * 1000, g_click * 1000, g_bare * 1000,
                        g_keys / g_bare, g_keys / g_click);
    });
}
