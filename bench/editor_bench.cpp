#include "app/app.h"
#include "bench_files.h"
#include "core/categories/category_catalogue.h"
#include "core/launcher/game_list.h"
#include "screens/editor/form7.h"
#include "screens/editor/held_paging.h"
#include "screens/editor/jump_panel.h"
#include "screens/editor/sorted_pane.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class SilentMessageBoxes final : public fav::MessageBoxes {
public:
    fav::MessageAnswer Show(const QString&, const QString&, fav::MessageButtons buttons,
                            fav::MessageIcon) override {
        return buttons == fav::MessageButtons::Ok ? fav::MessageAnswer::Ok
                                                  : fav::MessageAnswer::Yes;
    }
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

// As many machines as MAME 0.251 lists.
constexpr int MameGames = 45294;

// A cabinet in a temporary folder: a current MAME's whole mame.map (about 2.2 MB) in no
// particular order and in mixed letter case, and the list BENCH holding 2,000 of its games.
class Cabinet {
public:
    Cabinet() {
        dir_ = fav::bench::MakeBenchFolder("editor-bench");
        std::filesystem::create_directories(dir_ + "/config");

        std::mt19937 random(20261207);
        const char* const words[] = {"Super",  "street", "Fighter", "Pac",   "Galaxian",
                                     "turbo",  "Dragon", "ninja",   "Space", "Invaders",
                                     "Bubble", "Bobble", "Metal",   "slug",  "Donkey",
                                     "Kong",   "Final",  "fight"};
        std::vector<std::string> games;
        for (int i = 0; i < MameGames; ++i) {
            std::string line = std::to_string(random() % 100000);
            for (auto& c : line) {
                c = static_cast<char>((random() % 3 == 0 ? 'A' : 'a') + (c - '0') +
                                      (random() % 2) * 10);
            }
            line += " \"";
            for (int w = 0; w < 3; ++w) {
                line += words[random() % std::size(words)];
                line += ' ';
            }
            line += "(set " + std::to_string(i % 9 + 1) + ")\"";
            line.resize(std::max<std::size_t>(line.size(), 46), '.');
            games.push_back(line);
        }
        std::string map;
        for (const auto& game : games) {
            map += game + "\r\n";
        }
        mapBytes_ = map.size();
        WriteFile(dir_ + "/config/mame.map", map);

        std::shuffle(games.begin(), games.end(), random);
        std::string list;
        for (int i = 0; i < 2000; ++i) {
            list += games[static_cast<std::size_t>(i)] + "\r\n";
        }
        WriteFile(dir_ + "/config/kbfavBENCH.map", list);
        WriteFile(dir_ + "/kabinet.cfg", "emulators = mame kbfavBENCH\r\n");
    }
    ~Cabinet() { std::filesystem::remove_all(dir_); }

    const std::string& dir() const { return dir_; }
    std::size_t mapBytes() const { return mapBytes_; }

private:
    std::string dir_;
    std::size_t mapBytes_ = 0;
};

Cabinet& TheCabinet() {
    static Cabinet cabinet;
    return cabinet;
}

// The program with the editor on BENCH, as the favourites menu opens it: full screen (on the
// 1920x1080 screen main sets up), as on a cabinet, unless asked for a window.
class Program {
public:
    explicit Program(bool fullScreen = true)
        : programDir_(TheCabinet().dir() + "/program"),
          app_({programDir_, &messages_, [] { return std::string("bench"); }, [] {}}) {
        std::filesystem::create_directories(programDir_);
        app_.shared.LauncherDir = TheCabinet().dir();
        app_.shared.CurrentListName = " BENCH";
        if (fullScreen) {
            app_.windows().SetMaximised(fav::FormId::Form7);
        }
    }
    ~Program() { Close(); }

    fav::Form7* Open() {
        app_.windows().Show(fav::FormId::Form7);
        QCoreApplication::processEvents();
        return app_.windows().Get<fav::Form7>(fav::FormId::Form7);
    }

    void Close() {
        app_.windows().Unload(fav::FormId::Form7);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A key as the cabinet sends it, then whatever drawing it caused.
    void Press(Qt::Key key, const QString& text = {}) {
        fav::Form* form = app_.windows().ActiveForm();
        QWidget* target = form->focusWidget() != nullptr ? form->focusWidget() : form;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &release);
        QCoreApplication::processEvents();
    }

    // Both action buttons at once.
    void PressBoth() {
        Hold(Qt::Key_Control);
        Hold(Qt::Key_Alt);
        Release(Qt::Key_Alt);
        Release(Qt::Key_Control);
    }

    // A key held down, and let go later.
    void Hold(Qt::Key key) { Send(QEvent::KeyPress, key); }
    void Release(Qt::Key key) { Send(QEvent::KeyRelease, key); }

private:
    void Send(QEvent::Type type, Qt::Key key) {
        fav::Form* form = app_.windows().ActiveForm();
        QWidget* target = form->focusWidget() != nullptr ? form->focusWidget() : form;
        QKeyEvent event(type, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
        QCoreApplication::processEvents();
    }

    std::string programDir_;
    SilentMessageBoxes messages_;
    fav::App app_;
};

bool FullyLoaded(const fav::Form7* editor) {
    return editor != nullptr && editor->isVisible() &&
           editor->panes().games().size() == MameGames &&
           editor->panes().favourites().size() == 2000;
}

// What opening the editor cannot avoid: reading both files and sorting their lines.
void BM_ReadAndSort(benchmark::State& state) {
    const std::string config = TheCabinet().dir() + "/config";
    for (auto _ : state) {
        for (const char* name : {"/mame.map", "/kbfavBENCH.map"}) {
            auto lines = fav::ReadGameLines(config + name, fav::MameMapBounds);
            if (!lines) {
                state.SkipWithError("read failed");
                return;
            }
            std::vector<std::string_view> sorted;
            sorted.reserve(lines.value().size());
            for (std::size_t i = 0; i < lines.value().size(); ++i) {
                sorted.push_back(lines.value()[i]);
            }
            std::stable_sort(sorted.begin(), sorted.end(), fav::CaseInsensitiveLess);
            benchmark::DoNotOptimize(sorted.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(TheCabinet().mapBytes()));
}
BENCHMARK(BM_ReadAndSort)->Unit(benchmark::kMillisecond);

// From Show until both panes are filled and the window has been laid out and drawn.
void BM_OpenEditor(benchmark::State& state) {
    Program program(state.range(0) != 0);
    for (auto _ : state) {
        const fav::Form7* editor = program.Open();
        state.PauseTiming();
        if (!FullyLoaded(editor)) {
            state.SkipWithError("the editor did not load the cabinet");
            return;
        }
        program.Close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenEditor)->ArgName("fullscreen")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Category files beside the program for as long as it lives: a catver.ini of 100,000 lines
// that gives every game of mame.map one of ten genres and names as many games again that it
// lacks, and the genre "Shooter" chosen last time.
class CategoryFiles {
public:
    CategoryFiles() : folder_(TheCabinet().dir() + "/program/folders") {
        auto lines =
            fav::ReadGameLines(TheCabinet().dir() + "/config/mame.map", fav::MameMapBounds);
        if (!lines) {
            std::exit(1);
        }
        const char* const genres[] = {"Shooter",  "Fighter",          "Maze",    "Platform",
                                      "Puzzle",   "Sports",           "Driving", "Slot Machine",
                                      "Computer", "Electromechanical"};
        std::vector<std::string> roms;
        for (int i = 0; i < 100000; ++i) {
            roms.push_back(i < MameGames ? std::string(fav::FilterRomName(
                                               lines.value()[static_cast<std::size_t>(i)]))
                                         : "absent" + std::to_string(i));
        }
        // In name order, as MAME's own files are.
        std::sort(roms.begin(), roms.end());
        std::string catver = "[Category]\r\n";
        for (std::size_t i = 0; i < roms.size(); ++i) {
            catver += roms[i] + "=" + genres[i % std::size(genres)] + " / Sub-genre" +
                      (i % 97 == 0 ? " * Mature *" : "") + "\r\n";
        }
        std::filesystem::create_directories(folder_);
        WriteFile(folder_ + "/catver.ini", catver);
        if (!fav::StoreFilterChoice(TheCabinet().dir() + "/program", {"Shooter", false})) {
            std::exit(1);
        }
    }
    ~CategoryFiles() {
        std::filesystem::remove_all(folder_);
        std::filesystem::remove(TheCabinet().dir() + "/program/" + fav::FilterChoiceFileName);
    }

private:
    std::string folder_;
};

// BM_OpenEditor with a genre chosen: the catver.ini read, every genre counted and a tenth of the
// games shown.
void BM_OpenEditorFiltered(benchmark::State& state) {
    const CategoryFiles files;
    Program program;
    for (auto _ : state) {
        const fav::Form7* editor = program.Open();
        state.PauseTiming();
        if (editor == nullptr || editor->panes().games().size() == 0 ||
            editor->panes().games().size() >= MameGames) {
            state.SkipWithError("the editor did not show the genre");
            return;
        }
        program.Close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenEditorFiltered)->Unit(benchmark::kMillisecond);

// From the first of the presses that open the filter panel to the games pane drawn with the
// next genre: both action buttons twice, a step, Player 1 Start.
void BM_SwitchFilter(benchmark::State& state) {
    const CategoryFiles files;
    Program program;
    if (program.Open() == nullptr) {
        state.SkipWithError("the editor did not open");
        return;
    }
    bool down = true;
    for (auto _ : state) {
        program.PressBoth();
        program.PressBoth();
        program.Press(down ? Qt::Key_Down : Qt::Key_Up);
        program.Press(Qt::Key_1, QStringLiteral("1"));
        down = !down;
    }
}
BENCHMARK(BM_SwitchFilter)->Unit(benchmark::kMillisecond);

void BM_Add(benchmark::State& state) {
    Program program;
    if (!FullyLoaded(program.Open())) {
        state.SkipWithError("the editor did not load the cabinet");
        return;
    }
    for (int i = 0; i < 600; ++i) {
        program.Press(Qt::Key_Control);
    }
    for (auto _ : state) {
        program.Press(Qt::Key_1, QStringLiteral("1"));
    }
}
BENCHMARK(BM_Add)->Iterations(2000)->Unit(benchmark::kMicrosecond);

void BM_Remove(benchmark::State& state) {
    Program program;
    if (!FullyLoaded(program.Open())) {
        state.SkipWithError("the editor did not load the cabinet");
        return;
    }
    program.Press(Qt::Key_Right);
    for (int i = 0; i < 30; ++i) {
        program.Press(Qt::Key_Control);
    }
    for (auto _ : state) {
        program.Press(Qt::Key_1, QStringLiteral("1"));
    }
}
BENCHMARK(BM_Remove)->Iterations(1900)->Unit(benchmark::kMicrosecond);

void BM_PageDown(benchmark::State& state) {
    Program program(state.range(0) != 0);
    if (!FullyLoaded(program.Open())) {
        state.SkipWithError("the editor did not load the cabinet");
        return;
    }
    for (auto _ : state) {
        program.Press(Qt::Key_Control);
    }
}
BENCHMARK(BM_PageDown)
    ->ArgName("fullscreen")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1200)
    ->Unit(benchmark::kMicrosecond);

// One step of a held button's own repeat, from the step to its paint: the same page move as
// BM_PageDown's press, made by the window's timer. The buttons take turns at one page a step.
void BM_HeldPageStep(benchmark::State& state) {
    Program program;
    fav::Form7* editor = program.Open();
    if (!FullyLoaded(editor)) {
        state.SkipWithError("the editor did not load the cabinet");
        return;
    }
    std::int64_t now = 0;
    editor->SetClock([&now] { return now; });
    Qt::Key held = Qt::Key_Control;
    program.Hold(held);
    now += fav::HeldPaging::FirstRepeatMs - fav::HeldPaging::RepeatMs;
    int repeats = 0;
    for (auto _ : state) {
        now += fav::HeldPaging::RepeatMs;
        editor->RepeatPaging();
        QCoreApplication::processEvents();
        if (++repeats == fav::HeldPaging::RepeatsPerDoubling) {
            state.PauseTiming();
            program.Release(held);
            held = held == Qt::Key_Control ? Qt::Key_Alt : Qt::Key_Control;
            repeats = 0;
            now += 1000;
            program.Hold(held);
            now += fav::HeldPaging::FirstRepeatMs - fav::HeldPaging::RepeatMs;
            state.ResumeTiming();
        }
    }
    program.Release(held);
}
BENCHMARK(BM_HeldPageStep)->Iterations(1200)->Unit(benchmark::kMicrosecond);

// The jump panel's lookup in a full games pane.
void BM_JumpTarget(benchmark::State& state) {
    auto lines = fav::ReadGameLines(TheCabinet().dir() + "/config/mame.map", fav::MameMapBounds);
    if (!lines) {
        state.SkipWithError("read failed");
        return;
    }
    fav::SortedPane pane;
    pane.Fill(std::move(lines).value());
    const char* const prefixes[] = {"M", "SF2", "ZZZ", "A", "BUBB", "0", "DRAGON", "KONG"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fav::JumpPanel::Target(pane, prefixes[i++ % std::size(prefixes)]));
    }
}
BENCHMARK(BM_JumpTarget);

// A 1920x1080 screen at 96 dots per inch for the offscreen platform.
std::string ScreenConfigFile() {
    const std::string path = TheCabinet().dir() + "/screen.json";
    WriteFile(path, R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920,)"
                    R"( "height": 1080, "logicalDpi": 96, "dpr": 1}]})");
    return path;
}

} // namespace

int main(int argc, char** argv) {
    const std::string platform = "offscreen:configfile=" + ScreenConfigFile();
    qputenv("QT_QPA_PLATFORM", platform.c_str());
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
