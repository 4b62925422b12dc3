// A game controller's press handled on the favourites menu, beside the same press from the
// keyboard, and the cost of one poll of the controllers when nothing happens (the program polls
// every few milliseconds, all the time it runs).
#include "app/app.h"
#include "app/controllers.h"
#include "app/test_pad.h"
#include "demo_install.h"

#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

namespace {

// The program on the demo cabinet, at its menu, with one virtual pad plugged in.
struct PadAtMenu {
    fav::bench::DemoInstall demo;
    fav::bench::NoMessageBoxes messages;
    fav::App app{{demo.programDir(), &messages, {}, {}}};
    fav::Controllers controllers{app};
    fav::TestPad pad{std::string()};

    PadAtMenu() {
        app.Start();
        pad.Run("attach known");
        controllers.Poll();
        QCoreApplication::processEvents();
    }
};

void BM_KeyboardPressOnMenu(benchmark::State& state) {
    PadAtMenu program;
    bool down = true;
    for (auto _ : state) {
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr) {
            target = program.app.windows().ActiveForm();
        }
        const Qt::Key key = down ? Qt::Key_Down : Qt::Key_Up;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &release);
        down = !down;
    }
}

void BM_ControllerPressOnMenu(benchmark::State& state) {
    PadAtMenu program;
    bool down = true;
    for (auto _ : state) {
        const std::string button = down ? "button 12" : "button 11";
        program.pad.Run(button + " down");
        program.controllers.Poll();
        QCoreApplication::sendPostedEvents(&program.controllers, QEvent::MetaCall);
        program.pad.Run(button + " up");
        program.controllers.Poll();
        QCoreApplication::sendPostedEvents(&program.controllers, QEvent::MetaCall);
        down = !down;
    }
}

void BM_IdlePoll(benchmark::State& state) {
    PadAtMenu program;
    for (auto _ : state) {
        program.controllers.Poll();
    }
}

BENCHMARK(BM_KeyboardPressOnMenu)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ControllerPressOnMenu)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdlePoll)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[]) {
    return fav::bench::RunWindowBenchmarks(argc, argv);
}
