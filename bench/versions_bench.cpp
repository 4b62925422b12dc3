#include "bench_files.h"
#include "core/backups/list_versions.h"
#include "core/launcher/game_list.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The longest list the launcher takes: 32,767 games of about 49 bytes, 1.6 MB in its map file.
constexpr int ListGames = 32767;

// A cabinet with the list BENCH, and the program's folder beside it, in a temporary folder on
// the disk the system keeps its temporary files on.
class Cabinet {
public:
    Cabinet() {
        dir_ = fav::bench::MakeBenchFolder("versions-bench");
        program_ = dir_ + "/program";
        std::filesystem::create_directories(dir_ + "/config");
        std::filesystem::create_directories(program_);
        std::FILE* file = std::fopen((dir_ + "/kabinet.cfg").c_str(), "wb");
        if (file == nullptr || std::fputs("emulators = mame kbfavBENCH\r\n", file) < 0 ||
            std::fclose(file) != 0) {
            std::perror("kabinet.cfg");
            std::exit(1);
        }
        char line[96];
        for (int i = 0; i < ListGames; ++i) {
            std::snprintf(line, sizeof line, "rom%05d \"Some Game Title Number %05d (set %d)\"", i,
                          i, i % 9 + 1);
            games_[0].emplace_back(line);
        }
        // The other list differs by one game, so that every save changes the files.
        games_[1] = games_[0];
        games_[1].back() = "zzzzzz \"One Game Changed\"";
        if (!fav::WriteListFiles(dir_, "BENCH", games_[0])) {
            std::fprintf(stderr, "cannot write the list\n");
            std::exit(1);
        }
    }
    ~Cabinet() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    const std::string& dir() const { return dir_; }
    const std::string& program() const { return program_; }
    const std::vector<std::string>& games(std::size_t which) const { return games_[which % 2]; }
    std::string MapPath() const { return dir_ + "/config/kbfavBENCH.map"; }

private:
    std::string dir_;
    std::string program_;
    std::vector<std::string> games_[2];
};

// A clock a second later at every save, as saves by hand are.
fav::LocalTime Second(std::int64_t n) {
    return {2024,
            1,
            static_cast<int>(1 + n / 86400),
            static_cast<int>(n / 3600 % 24),
            static_cast<int>(n / 60 % 60),
            static_cast<int>(n % 60)};
}

std::uint64_t FolderBytes(const std::string& folder) {
    std::uint64_t bytes = 0;
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
        if (entry.is_regular_file()) {
            bytes += entry.file_size();
        }
    }
    return bytes;
}

// The floor: the list's map file read into one buffer and nothing else.
void PlainRead(benchmark::State& state, const Cabinet& cabinet) {
    fav::bench::ReadFileFloor(state, cabinet.MapPath());
}

// The editor's save: both files written, flushed and put in place, with the journal.
void Save(benchmark::State& state, const Cabinet& cabinet, bool keepVersion) {
    static std::int64_t clock = 0;
    // Across runs, so that every save writes the other list to the one before it.
    static std::size_t which = 0;
    for (auto _ : state) {
        const fav::VersionKeeping keeping =
            keepVersion ? fav::VersionKeeping{cabinet.program(), Second(clock++)}
                        : fav::VersionKeeping{};
        const fav::Status saved =
            fav::WriteListFiles(cabinet.dir(), "BENCH", cabinet.games(++which), fav::SystemFileIo(),
                                fav::Journal{cabinet.program()}, keeping);
        if (!saved) {
            std::fprintf(stderr, "%s\n", saved.failure().description.c_str());
            state.SkipWithError("the save failed");
            return;
        }
    }
    if (keepVersion) {
        const std::string kept = fav::ListBackupFolder(cabinet.program(), "BENCH");
        auto versions = fav::ListVersions(cabinet.program(), "BENCH");
        state.counters["versions"] = static_cast<double>(versions ? versions.value().size() : 0);
        state.counters["versions_bytes"] = static_cast<double>(FolderBytes(kept));
    }
    state.counters["list_bytes"] =
        static_cast<double>(std::filesystem::file_size(cabinet.MapPath()) +
                            std::filesystem::file_size(cabinet.dir() + "/config/kbfavBENCH.rom"));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const Cabinet cabinet;
    benchmark::RegisterBenchmark("BM_PlainReadOfTheMapFile", PlainRead, std::cref(cabinet))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SaveAlone", Save, std::cref(cabinet), false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SaveKeepingItsVersion", Save, std::cref(cabinet), true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
