#pragma once

// What the benchmarks share for their files: a folder of their own and the floor every
// measurement is set against, a file simply read.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fav::bench {

// A new folder under the system's temporary folder, named after the benchmark; a benchmark that
// cannot have one ends at once.
inline std::string MakeBenchFolder(const std::string& name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("favorizer-" + name + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

// The floor: the file read into one buffer and nothing else, once an iteration.
inline void ReadFileFloor(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        if (fd < 0 || ::fstat(fd, &info) != 0) {
            state.SkipWithError("cannot open the file");
            break;
        }
        std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t filled = 0;
        while (filled < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (got <= 0) {
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        ::close(fd);
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
}

} // namespace fav::bench
