#include "bench_files.h"
#include "core/launcher/game_list.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A current MAME's whole game list: 45,294 lines (as many as MAME 0.251 lists) of about 49
// bytes, 2.2 MB in all, each ended by `lineEnd`.
class GeneratedMapFile {
public:
    explicit GeneratedMapFile(const char* lineEnd) {
        folder_ = fav::bench::MakeBenchFolder("bench");
        path_ = folder_ + "/mame.map";
        std::string text;
        char line[96];
        for (int i = 0; i < 45294; ++i) {
            const int length = std::snprintf(line, sizeof line,
                                             "rom%05d \"Some Game Title Number %05d (set %d)\"%s",
                                             i, i, i % 9 + 1, lineEnd);
            text.append(line, static_cast<std::size_t>(length));
        }
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size() ||
            std::fclose(file) != 0) {
            std::perror(path_.c_str());
            std::exit(1);
        }
        size_ = text.size();
    }
    ~GeneratedMapFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& path() const { return path_; }
    std::size_t size() const { return size_; }

private:
    std::string folder_;
    std::string path_;
    std::size_t size_ = 0;
};

// The floor: the file read into one buffer and nothing else.
void PlainRead(benchmark::State& state, const GeneratedMapFile& map) {
    fav::bench::ReadFileFloor(state, map.path());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * map.size()));
}

void ReadGameLinesAndRomNames(benchmark::State& state, const GeneratedMapFile& map) {
    for (auto _ : state) {
        auto lines = fav::ReadGameLines(map.path(), fav::MameMapBounds);
        if (!lines) {
            state.SkipWithError(lines.failure().description.c_str());
            break;
        }
        std::size_t romBytes = 0;
        for (std::size_t i = 0; i < lines.value().size(); ++i) {
            romBytes += fav::ExtractRomName(lines.value()[i]).size();
        }
        benchmark::DoNotOptimize(romBytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * map.size()));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const GeneratedMapFile map("\r\n");
    // MAME on Linux ends its lines with LF alone.
    const GeneratedMapFile linuxMap("\n");
    benchmark::RegisterBenchmark("BM_PlainRead", PlainRead, std::cref(map));
    benchmark::RegisterBenchmark("BM_ReadGameLinesAndRomNames", ReadGameLinesAndRomNames,
                                 std::cref(map));
    benchmark::RegisterBenchmark("BM_ReadGameLinesAndRomNames/LF", ReadGameLinesAndRomNames,
                                 std::cref(linuxMap));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
