#pragma once

// A scratch copy of the demo cabinet for the benchmarks that run the program's windows.

#include "app/message_boxes.h"
#include "core/settings/settings_file.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fav::bench {

namespace fs = std::filesystem;

class NoMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer Show(const QString&, const QString&, MessageButtons buttons,
                       MessageIcon) override {
        ++shown;
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    int shown = 0;
};

// A scratch copy of the demo cabinet and a program folder whose favorize.cfg points at it.
class DemoInstall {
public:
    DemoInstall() {
        std::string pattern = (fs::temp_directory_path() / "favorizer-bench-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        fs::copy(FAVORIZER_DEMO_CABINET, root_ / "cabinet", fs::copy_options::recursive);
        fs::create_directories(programDir());
        const std::string cabinet = (root_ / "cabinet").string();
        const std::string config = cabinet + "/config";
        if (!WriteSettingsFile(programDir(), cabinet, config, config, 0)) {
            std::abort();
        }
    }
    ~DemoInstall() { fs::remove_all(root_); }

    std::string programDir() const { return (root_ / "program").string(); }

private:
    fs::path root_;
};

// Runs the benchmarks inside an application, on the off-screen platform unless told otherwise.
inline int RunWindowBenchmarks(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace fav::bench
