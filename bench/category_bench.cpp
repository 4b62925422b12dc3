// MAME's category files: reading a catver.ini of 100,000 lines and choosing the lines of a
// current MAME's whole game list (45,294) that one of its genres holds, each beside the cost of
// simply reading the file it works on.
#include "bench_files.h"
#include "core/categories/category_catalogue.h"
#include "core/categories/category_files.h"
#include "core/launcher/game_list.h"
#include "core/textfile/files.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int MameGames = 45294;
constexpr int CatverLines = 100000;
const char* const Genres[] = {"Shooter",  "Fighter",          "Maze",    "Platform",
                              "Puzzle",   "Sports",           "Driving", "Slot Machine",
                              "Computer", "Electromechanical"};

// mame.map and catver.ini of the real shapes in a temporary folder: every game has a genre, and
// catver.ini names as many again that this mame.map lacks.
class CategoryCabinet {
public:
    CategoryCabinet() {
        folder_ = fav::bench::MakeBenchFolder("category-bench");
        std::string map;
        std::string catver = ";; catver.ini 0.251\r\n\r\n[Category]\r\n";
        for (int i = 0; i < CatverLines; ++i) {
            // In name order, as MAME's own lists are.
            char rom[16];
            std::snprintf(rom, sizeof rom, "g%06d", i);
            if (i < MameGames) {
                map += std::string(rom) + " \"Game number " + std::to_string(i) + " (set 1)\"\r\n";
            }
            catver += std::string(rom) + "=" + Genres[i % std::size(Genres)] + " / Sub-genre" +
                      (i % 97 == 0 ? " * Mature *" : "") + "\r\n";
        }
        catver += "\r\n[VerAdded]\r\ng000000=.37b5\r\n";
        Write(MapPath(), map);
        Write(CatverPath(), catver);
    }
    ~CategoryCabinet() { std::filesystem::remove_all(folder_); }

    std::string MapPath() const { return folder_ + "/mame.map"; }
    std::string CatverPath() const { return folder_ + "/catver.ini"; }

private:
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string folder_;
};

const CategoryCabinet& Cabinet() {
    static const CategoryCabinet cabinet;
    return cabinet;
}

void BM_ReadCatverFloor(benchmark::State& state) {
    for (auto _ : state) {
        auto bytes = fav::ReadWholeFile(Cabinet().CatverPath());
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_ReadCatver(benchmark::State& state) {
    for (auto _ : state) {
        const fav::CategoryRead read = fav::ReadCategoryFile(Cabinet().CatverPath());
        if (read.filters.size() != std::size(Genres)) {
            state.SkipWithError("catver.ini gave the wrong genres");
            break;
        }
    }
}

void BM_ReadMameMapFloor(benchmark::State& state) {
    for (auto _ : state) {
        auto lines = fav::ReadGameLines(Cabinet().MapPath(), fav::MameMapBounds);
        benchmark::DoNotOptimize(lines);
    }
}

// Both files read once, for the benchmarks that work on what they hold.
struct ReadFiles {
    fav::Result<fav::GameLines> lines = fav::ReadGameLines(Cabinet().MapPath(), fav::MameMapBounds);
    fav::CategoryRead read = fav::ReadCategoryFile(Cabinet().CatverPath());

    bool Usable(benchmark::State& state) const {
        if (!lines || read.filters.empty()) {
            state.SkipWithError("the files could not be read");
            return false;
        }
        return true;
    }
};

void BM_FilterWholeList(benchmark::State& state) {
    const ReadFiles files;
    if (!files.Usable(state)) {
        return;
    }
    const auto& [lines, read] = files;
    for (auto _ : state) {
        auto shown = fav::ShownGames(lines.value(), &read.filters[0], read.mature);
        benchmark::DoNotOptimize(shown);
    }
}

// What the filter panel's first opening adds: every genre's games in mame.map counted, with and
// without mature ones.
void BM_CountEveryGenre(benchmark::State& state) {
    const ReadFiles files;
    if (!files.Usable(state)) {
        return;
    }
    const auto& [lines, read] = files;
    for (auto _ : state) {
        const fav::GameRoms roms(lines.value());
        std::size_t shown = 0;
        for (const fav::CategoryFilter& filter : read.filters) {
            shown += roms.Count(filter.roms, read.mature).shown;
        }
        benchmark::DoNotOptimize(shown);
    }
}

BENCHMARK(BM_ReadCatverFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCatver)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMameMapFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterWholeList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountEveryGenre)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
