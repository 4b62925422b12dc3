// Start-up on the demo cabinet, from loading the setup window until the favourites menu is
// shown, beside Qt's own cost of creating and showing one empty window and the one-time cost of
// loading the face built into the program.
#include "app/app.h"
#include "app/looks.h"
#include "demo_install.h"

#include <QApplication>
#include <QFontDatabase>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

void BM_QtEmptyWindow(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        window.show();
        QCoreApplication::processEvents();
    }
}

void BM_StartUntilMenuShown(benchmark::State& state) {
    fav::bench::DemoInstall demo;
    fav::bench::NoMessageBoxes messages;
    for (auto _ : state) {
        fav::App app({demo.programDir(), &messages, {}, {}});
        app.Start();
        QCoreApplication::processEvents();
        fav::Form* shown = app.windows().ActiveForm();
        if (shown == nullptr || shown->id() != fav::FormId::Form2 || messages.shown != 0) {
            state.SkipWithError("start-up did not go straight to the favourites menu");
            break;
        }
        state.PauseTiming();
        app.windows().UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

// The face built into the program, added to the font database and taken out again: a cost the
// program pays once, at its first window.
void BM_LoadProgramFace(benchmark::State& state) {
    for (auto _ : state) {
        QList<int> added;
        for (const char* file : fav::ProgramFaceFiles) {
            added << QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
        if (added.contains(-1)) {
            state.SkipWithError("the built-in face could not be loaded");
            break;
        }
        state.PauseTiming();
        for (int id : added) {
            QFontDatabase::removeApplicationFont(id);
        }
        state.ResumeTiming();
    }
}

BENCHMARK(BM_QtEmptyWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadProgramFace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUntilMenuShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    return fav::bench::RunWindowBenchmarks(argc, argv);
}
