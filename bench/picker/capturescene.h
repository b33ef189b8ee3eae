// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <QApplication>
#include <QProcess>
#include <QWidget>

#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"
#include "picker/capture/capture.h"
#include "tests/support/withx.h"
#include <benchmark/benchmark.h>

// What the capture benchmarks share: the picker's side, a window with the picker's toolbar
// holding one field's button, wired to the capture controller, and the target, a Tk text window
// holding a selected text.

inline constexpr const char *SelectedText = "benchmark text";

class SilentSink final : public MessageSink
{
public:
    MessageAnswer show(const Message &) override { return MessageAnswer::Ok; }
};

struct CaptureScene
{
    CaptureScene();
    ~CaptureScene();
    CaptureScene(const CaptureScene &) = delete;
    CaptureScene &operator=(const CaptureScene &) = delete;

    bool ready() const { return backend->available() && targetWindow != 0; }
    // Runs the event loop for a while.
    static void settle(int milliseconds);
    // One pick that `trigger` starts (a click on the field button, keys): from the trigger until
    // the value is stored. The time in seconds, negative on failure.
    double pickOnce(const std::function<void()> &trigger);
    // A click on the field's button.
    void clickButton() const;

    SilentSink messages;
    TableDescription description;
    std::unique_ptr<CaptureBackend> backend;
    CaptureController controller;
    QWidget window;
    QWidget *button = nullptr;
    QProcess target;
    std::uint64_t targetWindow = 0;
};

double median(std::vector<double> samples);

// The capture benchmarks' main: the X11 platform (a private X server when there is no display),
// the scene in `scene` while the benchmarks run, then `summary` prints their figures.
template <class Scene>
int runSceneBenchmarks(int argc, char **argv, Scene *&scene, const std::function<void()> &summary)
{
    runUnderXWhenHeadless(argc, argv, WITH_X);
    // Only the X11 platform reaches other applications.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Scene running;
    scene = &running;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    summary();
    std::fflush(stdout);
    scene = nullptr;
    return 0;
}
