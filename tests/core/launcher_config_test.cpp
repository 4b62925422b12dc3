#include "core/launcher/launcher_config.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace fav {
namespace {

using namespace test;

// The emulators line between two ordinary lines, all ending CR LF.
std::string ConfigAround(const std::string& emulatorsLine) {
    return "[kabinet]\r\n" + emulatorsLine + "\r\nresolution = 640x480\r\n";
}

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(LauncherConfig, ScanEdgeCases) {
    struct Row {
        std::string line;
        bool mame;
        std::vector<std::string> keys;
        int remaining;
    };
    const Row rows[] = {
        {"emulators = mame", true, {}, 15},
        {"emulators = mame kbfavFIGHT kbfavRACE", true, {"FIGHT", "RACE"}, 13},
        {"EMULATORS = MAME kbfavX", true, {"X"}, 14},
        {"emulators = mame KBFAVX", true, {}, 14},
        {"emulators = mame kbfav", true, {""}, 14},
        {"emulators =  mame", true, {}, 14},
        {"emulators = kbfavA mame kbfavA ", true, {"A", "A"}, 12},
        {"emulators = mame\tkbfavX", false, {}, 15},
        {"emulators = mamex", false, {}, 15},
        {"emulators =", false, {}, 16},
        {"emulators=mame", false, {}, 18},
        {"  emulators = mame", false, {}, 18},
        {"\temulators = mame", false, {}, 18},
        {"emulators", false, {}, 18},
        {"emulators = mame a b c d e f g h i j k l m n o p q", true, {}, -2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        TempFolder folder;
        WriteBytes(folder / "kabinet.cfg", ConfigAround(row.line));
        auto scan = ScanLauncherConfig(folder.path());
        ASSERT_TRUE(scan.ok());
        EXPECT_EQ(scan.value().MameFound, row.mame);
        EXPECT_EQ(scan.value().ListKeys, row.keys);
        EXPECT_EQ(scan.value().RemainingLists, row.remaining);
    }
}

TEST(LauncherConfig, RemainingListsClampsInsteadOfWrapping) {
    TempFolder folder;
    std::string line = "emulators =";
    for (int i = 0; i < 40000; ++i) {
        line += " x";
    }
    WriteBytes(folder / "kabinet.cfg", line);
    auto scan = ScanLauncherConfig(folder.path());
    ASSERT_TRUE(scan.ok());
    EXPECT_EQ(scan.value().RemainingLists, -32768);
}

TEST(LauncherConfig, NameCheckLooksAtTheWholeFieldOfEveryEmulatorsLine) {
    struct Row {
        std::string config;
        std::string key;
        bool taken;
    };
    const Row rows[] = {
        {ConfigAround("emulators = mame kbfavFIGHT"), "FIGHT", true},
        {ConfigAround("emulators = mame kbfavFIGHT"), "fight", false},
        {ConfigAround("emulators = mame kbfavFIGHTER"), "FIGHT", false},
        {ConfigAround("Emulators = mame kbfavFIGHT"), "FIGHT", true},
        {ConfigAround("emulators=mame kbfavFIGHT"), "FIGHT", false},
        {ConfigAround("emulators = mame kbfav"), "", true},
        {"emulators = kbfavA\r\nemulators = kbfavB\r\n", "A", true},
        {"emulators = kbfavA\r\nemulators = kbfavB\r\n", "C", false},
        {"emulators = kbfavA\r\nemulators = kbfavB\r\n", "B", true},
        {"no emulators here\r\n", "A", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.config + " / " + row.key);
        TempFolder folder;
        WriteBytes(folder / "kabinet.cfg", row.config);
        auto taken = FindListEntry(folder.path(), row.key);
        ASSERT_TRUE(taken.ok());
        EXPECT_EQ(taken.value(), row.taken);
    }
}

TEST(LauncherConfig, AddAndRemoveRewriteEveryEmulatorsLine) {
    enum class Op { Add, Remove };
    struct Row {
        std::string before;
        Op op;
        std::string key;
        std::string after;
    };
    const Row rows[] = {
        {"emulators = mame kbfavFIGHT kbfavRACE", Op::Remove, "FIGHT",
         "emulators = mame kbfavRACE"},
        {"emulators = mame kbfavFIGHT", Op::Remove, "FIGHT", "emulators = mame"},
        {"emulators = mame kbfavFIGHT ", Op::Remove, "RACE", "emulators = mame kbfavFIGHT"},
        {"emulators =  mame kbfavX  kbfavY", Op::Remove, "X", "emulators =  mame  kbfavY"},
        {"emulators = kbfavX mame kbfavX kbfavx", Op::Remove, "X", "emulators = mame kbfavx"},
        {"Emulators = mame kbfavX", Op::Remove, "X", "Emulators = mame"},
        {"emulators = kbfavX   ", Op::Remove, "X", "emulators ="},
        {" emulators = mame kbfavX ", Op::Remove, "X", " emulators = mame kbfavX "},
        {"emulators = mame", Op::Add, "FIGHT", "emulators = mame kbfavFIGHT"},
        {"emulators = mame ", Op::Add, "FIGHT", "emulators = mame  kbfavFIGHT"},
        {"EMULATORS = MAME", Op::Add, "FIGHT", "EMULATORS = MAME kbfavFIGHT"},
        {"emulators=mame", Op::Add, "FIGHT", "emulators=mame"},
        {"emulators = mame\r\nemulators = snes kbfavB ", Op::Add, "C",
         "emulators = mame kbfavC\r\nemulators = snes kbfavB  kbfavC"},
        {"emulators = kbfavB mame\r\nEmulators = snes kbfavB ", Op::Remove, "B",
         "emulators = mame\r\nEmulators = snes"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before);
        TempFolder folder;
        WriteBytes(folder / "kabinet.cfg", ConfigAround(row.before));
        const Status status = row.op == Op::Add ? AddListEntry(folder.path(), row.key)
                                                : RemoveListEntry(folder.path(), row.key);
        ASSERT_TRUE(status.ok()) << status.failure().description;
        EXPECT_EQ(ReadBytes(folder / "kabinet.cfg"), ConfigAround(row.after));
        EXPECT_EQ(ReadBytes(folder / "kabinetcfg.tmp"), ConfigAround(row.before));
    }
}

TEST(LauncherConfig, RewriteKeepsEveryOtherByteAndEndsEveryLineWithCrLf) {
    std::string highBytes;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        highBytes += static_cast<char>(byte);
    }
    const std::string bigLine(1 << 20, 'm');
    const std::string nul("nul\0inside", 10);
    const std::string before = "crlf\r\ncr only\rbare\nfeed\r\n" + highBytes + "\r\r\n" + bigLine +
                               "\r\n" + nul + "\remulators = mame kbfavOLD\r\nno end \x01";
    const std::string copied = "crlf\r\ncr only\r\nbare\r\nfeed\r\n" + highBytes + "\r\n\r\n" +
                               bigLine + "\r\n" + nul + "\r\nemulators = mame kbfavOLD\r\n" +
                               "no end \x01\r\n";
    std::string added = copied;
    added.replace(added.find("kbfavOLD"), 8, "kbfavOLD kbfavNEW");

    TempFolder folder;
    WriteBytes(folder / "kabinet.cfg", before);
    ASSERT_TRUE(AddListEntry(folder.path(), "NEW").ok());
    EXPECT_EQ(ReadBytes(folder / "kabinet.cfg"), added);
    EXPECT_EQ(ReadBytes(folder / "kabinetcfg.tmp"), copied);

    ASSERT_TRUE(RemoveListEntry(folder.path(), "NEW").ok());
    EXPECT_EQ(ReadBytes(folder / "kabinet.cfg"), copied);
    EXPECT_EQ(ReadBytes(folder / "kabinetcfg.tmp"), added);
}

TEST(LauncherConfig, EmptyFileStaysEmptyAndMissingFileWritesNothing) {
    TempFolder folder;
    WriteBytes(folder / "kabinet.cfg", "");
    ASSERT_TRUE(AddListEntry(folder.path(), "A").ok());
    EXPECT_EQ(ReadBytes(folder / "kabinet.cfg"), "");
    EXPECT_TRUE(Exists(folder / "kabinetcfg.tmp"));

    TempFolder empty;
    const Status missing = RemoveListEntry(empty.path(), "A");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.failure().code, ErrorCode::FileNotFound);
    EXPECT_TRUE(Names(empty.path()).empty());
    EXPECT_EQ(AddListEntry(empty / "gone", "A").failure().code, ErrorCode::PathNotFound);
}

enum class Step { Open, Write, Sync, Close, Rename };

// Fails the first call of one step, in the pass that writes the given file.
class FailingIo : public FileIo {
public:
    FailingIo(Step step, std::string passFile, OsError error)
        : step_(step), passFile_(std::move(passFile)), error_(error) {}

    OsError Open(const std::string& path, OpenMode mode, FileHandle& file) const override {
        currentFile_ = path;
        return Fails(Step::Open) ? error_ : FileIo::Open(path, mode, file);
    }
    OsError Write(FileHandle file, const char* data, std::size_t size,
                  std::size_t& written) const override {
        return Fails(Step::Write) ? error_ : FileIo::Write(file, data, size, written);
    }
    OsError Sync(FileHandle file) const override {
        return Fails(Step::Sync) ? error_ : FileIo::Sync(file);
    }
    OsError Close(FileHandle file) const override {
        const OsError closed = FileIo::Close(file);
        return Fails(Step::Close) ? error_ : closed;
    }
    OsError Rename(const std::string& from, const std::string& to) const override {
        return Fails(Step::Rename) ? error_ : FileIo::Rename(from, to);
    }
    bool failed() const { return failed_; }

private:
    bool Fails(Step step) const {
        if (failed_ || step != step_ || currentFile_.find(passFile_) == std::string::npos) {
            return false;
        }
        failed_ = true;
        return true;
    }
    Step step_;
    std::string passFile_;
    OsError error_;
    mutable std::string currentFile_;
    mutable bool failed_ = false;
};

TEST(LauncherConfig, FailedWriteStepLeavesConfigWhole) {
    struct Row {
        Step step;
        OsError error;
        int code;
    };
    const Row rows[] = {
        {Step::Open, OsError::Unavailable, ErrorCode::DeviceUnavailable},
        {Step::Write, OsError::Full, ErrorCode::DiskFull},
        {Step::Sync, OsError::Io, ErrorCode::DeviceIoError},
        {Step::Close, OsError::Full, ErrorCode::DiskFull},
        {Step::Rename, OsError::Denied, ErrorCode::PermissionDenied},
    };
    const std::string before = "a\rb\nc\r\nemulators = mame\r\nlast";
    const std::string previousCopy = "older copy\r\n";
    for (const std::string pass : {".kabinetcfg.tmp", ".kabinet.cfg"}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(pass + " step " + std::to_string(static_cast<int>(row.step)));
            TempFolder folder;
            WriteBytes(folder / "kabinet.cfg", before);
            WriteBytes(folder / "kabinetcfg.tmp", previousCopy);
            const FailingIo io(row.step, pass, row.error);
            const Status status = AddListEntry(folder.path(), "NEW", io);
            ASSERT_TRUE(io.failed());
            ASSERT_FALSE(status.ok());
            EXPECT_EQ(status.failure().code, row.code);
            EXPECT_EQ(ReadBytes(folder / "kabinet.cfg"), before);
            EXPECT_EQ(ReadBytes(folder / "kabinetcfg.tmp"),
                      pass == ".kabinetcfg.tmp" ? previousCopy
                                                : "a\r\nb\r\nc\r\nemulators = mame\r\nlast\r\n");
            EXPECT_EQ(Names(folder.path()),
                      (std::set<std::string>{"kabinet.cfg", "kabinetcfg.tmp"}));
        }
    }
}

} // namespace
} // namespace fav
