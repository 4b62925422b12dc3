#include "core/launcher/game_list.h"
#include "flows/flow_helpers.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace fav;
using namespace fav::test;

namespace {

constexpr std::size_t TenMegabytes = std::size_t{10} << 20;

const std::vector<std::string> Games = {
    "sf2 \"Street Fighter II: The World Warrior\"",
    "pacman \"Pac-Man (Midway)\"",
};

// Bytes of every value but the line ends CR and LF, NUL among them, the same on every run.
std::string Junk(std::size_t size, unsigned seed) {
    std::string bytes;
    bytes.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        char c = static_cast<char>((seed >> 16) & 0xff);
        bytes += c == '\r' || c == '\n' ? '\0' : c;
    }
    return bytes;
}

std::string Config(const TestApp& t, const std::string& name) {
    return t.cabinetDir + "/config/" + name;
}

std::string KabinetPath(const TestApp& t) {
    return t.cabinetDir + "/kabinet.cfg";
}

QListWidget* Menu(TestApp& t) {
    return Control<QListWidget>(t, FormId::Form2, "List1");
}

// From the menu, the list on the given row, then an options item: 1 Edit, 2 Delete.
void OpenFromMenu(TestApp& t, int row, int option) {
    const int at = SelectedRow(Menu(t));
    t.Press(Qt::Key_Down, row - at);
    t.Press(Qt::Key_1);
    if (option == 2) {
        t.Press(Qt::Key_Down);
    }
    t.Press(Qt::Key_1);
}

// The keyboard from the menu, a name with no description, Yes.
void CreateList(TestApp& t, const std::string& name) {
    t.Press(Qt::Key_Right);
    t.Press(Qt::Key_1);
    QVERIFY(EnterNameAndDescription(t, name, ""));
    QCOMPARE(VisibleScreens(t), Only(FormId::Form4));
    t.Press(Qt::Key_1);
}

// The error screen is up with the code, over `under` (0 when it is alone), and its line is the
// last of the error log.
void ExpectError(TestApp& t, int code, int under, std::size_t logLines) {
    std::vector<int> expected;
    if (under != 0) {
        expected.push_back(under);
    }
    expected.push_back(int(FormId::Form5));
    std::sort(expected.begin(), expected.end());
    QCOMPARE(VisibleScreens(t), expected);
    QCOMPARE(ActiveId(t), int(FormId::Form5));
    QCOMPARE(Text(t, FormId::Form5, "Label1"),
             QStringLiteral("Error# %1 was encountered.").arg(code));
    const auto lines = LogLines(t.programDir);
    QCOMPARE(lines.size(), logLines);
    QVERIFY(lines.back().starts_with(std::string(FixedDateTime) + " Favorizer encounted error# " +
                                     std::to_string(code) + " ---"));
    Draw(t);
}

// Deleting the menu's first list fails with `code`, shown over the menu, which comes back.
void DeletionFails(TestApp& t, int code, std::size_t logLines) {
    OpenFromMenu(t, 0, 2);
    QCOMPARE(VisibleScreens(t), Only(FormId::Form6));
    t.Press(Qt::Key_1);
    ExpectError(t, code, int(FormId::Form2), logLines);
    t.Press(Qt::Key_Escape);
    QCOMPARE(ActiveId(t), int(FormId::Form2));
}

// A save that fails, then ESC again with the cause gone or still there.
void SaveFails(bool failsAgain) {
    TestApp t;
    t.WriteCabinet("emulators = mame kbfavFIGHT", Games);
    WriteBytes(Config(t, "kbfavFIGHT.map"), "");
    t.WriteSettings();
    t.app.Start();
    OpenFromMenu(t, 0, 1);
    t.Press(Qt::Key_1);
    std::filesystem::create_directory(Config(t, "kbfavFIGHT.rom"));
    t.Press(Qt::Key_Escape);
    ExpectError(t, ErrorCode::PathFileAccessError, int(FormId::Form7), 1);
    QVERIFY(Exists(t.programDir + "/favorize.cfg"));
    // Map and rom file stay a pair: the map is not replaced without the rom.
    QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.map")), std::string());
    t.Press(Qt::Key_Escape);
    QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
    QCOMPARE(ActiveId(t), int(FormId::Form7));
    QCOMPARE(Rows(Control<QAbstractItemView>(t, FormId::Form7, "List2")),
             QStringList{"pacman \"Pac-Man (Midway)\""});
    QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("1"));

    if (!failsAgain) {
        std::filesystem::remove(Config(t, "kbfavFIGHT.rom"));
    }
    t.Press(Qt::Key_Down);
    t.Press(Qt::Key_1);
    t.Press(Qt::Key_Escape);
    if (!failsAgain) {
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.map")),
                 std::string("pacman \"Pac-Man (Midway)\"\r\nsf2 \"Street Fighter II: The "
                             "World Warrior\"\r\n"));
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.rom")), std::string("pacman\r\nsf2\r\n"));
        return;
    }
    TestApp::Settle();
    QVERIFY(!t.windows().IsLoaded(FormId::Form7));
    ExpectError(t, ErrorCode::PathFileAccessError, int(FormId::Form2), 2);
    // The files as the failed saves left them: the map not replaced without the rom.
    QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.map")), std::string());
    const auto left = Snapshot(t.cabinetDir);
    t.Press(Qt::Key_Escape);
    QCOMPARE(Snapshot(t.cabinetDir), left);
    QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
    QCOMPARE(ActiveId(t), int(FormId::Form2));
    QVERIFY(!t.ended);
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    // Binary junk with no emulators line reads as a launcher without MAME.
    void junkLauncherConfigEndsAfterTheMameMessage() {
        TestApp t;
        t.WriteCabinet();
        WriteBytes(KabinetPath(t), Junk(64 * 1024, 7));
        t.WriteSettings();
        const auto before = Snapshot(t.cabinetDir);
        t.app.Start();
        QCOMPARE(t.messages.shown.size(), std::size_t{1});
        QCOMPARE(t.messages.shown[0].icon, MessageIcon::Critical);
        QVERIFY(t.ended);
        QCOMPARE(Snapshot(t.cabinetDir), before);
    }

    // Junk around an emulators line whose list keys hold a NUL and a byte that is not UTF-8.
    void junkAroundAnEmulatorsLine() {
        TestApp t;
        t.WriteCabinet("emulators = mame", Games);
        const std::string emulators =
            std::string("emulators = mame kbfavBA") + '\0' + "D kbfavCAF\xC9 kbfavOK";
        std::string kabinet;
        for (unsigned seed = 1; seed <= 6; ++seed) {
            std::string line = Junk(300, seed);
            line[0] = '\0'; // never taken for an emulators line
            kabinet += line + "\r\n";
            if (seed == 3) {
                kabinet += emulators + "\r\n";
            }
        }
        WriteBytes(KabinetPath(t), kabinet);
        WriteBytes(Config(t, "kbfavOK.map"), "");
        t.WriteSettings();
        t.app.Start();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Rows(Menu(t)).size(), 3);
        QCOMPARE(Rows(Menu(t))[1], QStringLiteral(" CAF\u00C9"));
        QCOMPARE(Text(t, FormId::Form2, "Label11"), QStringLiteral("12"));
        const auto before = Snapshot(t.cabinetDir);

        // The key with a NUL cannot name a file: refused with an error, nothing written.
        OpenFromMenu(t, 0, 1);
        ExpectError(t, ErrorCode::PathFileAccessError, int(FormId::Form7), 1);
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        DeletionFails(t, ErrorCode::PathFileAccessError, 2);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Snapshot(t.cabinetDir), before);
        QVERIFY(Exists(t.programDir + "/favorize.cfg"));

        // The key that is not UTF-8 names its files with its own bytes.
        OpenFromMenu(t, 1, 1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Escape);
        QCOMPARE(ReadBytes(Config(t, "kbfavCAF\xC9.map")),
                 std::string("pacman \"Pac-Man (Midway)\"\r\n"));
        QCOMPARE(ReadBytes(Config(t, "kbfavCAF\xC9.rom")), std::string("pacman\r\n"));

        // A new list: every junk line is copied through, byte for byte.
        CreateList(t, "NEW");
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinetcfg.tmp"), kabinet);
        std::string expected = kabinet;
        expected.insert(expected.find(emulators) + emulators.size(), " kbfavNEW");
        QCOMPARE(ReadBytes(KabinetPath(t)), expected);
        QCOMPARE(Rows(Menu(t)).size(), 4);
    }

    // A 10 MB comment line in kabinet.cfg and a 10 MB game line in mame.map.
    void tenMegabyteLinesAreCarriedWhole() {
        TestApp t;
        const std::string bigGame = "big \"" + std::string(TenMegabytes, 'x') + "\"";
        t.WriteCabinet("emulators = mame kbfavFIGHT", {Games[0], bigGame, Games[1]});
        const std::string kabinet =
            "# " + std::string(TenMegabytes, 'c') + "\r\nemulators = mame kbfavFIGHT\r\n";
        WriteBytes(KabinetPath(t), kabinet);
        t.WriteSettings();
        t.app.Start();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Rows(Menu(t)), QStringList{" FIGHT"});

        OpenFromMenu(t, 0, 1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        QCOMPARE(Text(t, FormId::Form7, "Label11"), QStringLiteral("3"));
        Draw(t);
        t.Press(Qt::Key_1); // the first game in order: the big one
        QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("1"));
        Draw(t);
        t.Press(Qt::Key_Right);
        Draw(t);
        // Shown cut short, kept whole.
        const QString shown = Rows(Control<QAbstractItemView>(t, FormId::Form7, "List2"))[0];
        QVERIFY(shown.startsWith(QStringLiteral("big \"xxx")) && shown.size() < 2000);
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.map")), bigGame + "\r\n");
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.rom")), std::string("big\r\n"));

        CreateList(t, "NEW");
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinetcfg.tmp"), kabinet);
        QCOMPARE(ReadBytes(KabinetPath(t)), "# " + std::string(TenMegabytes, 'c') +
                                                "\r\nemulators = mame kbfavFIGHT kbfavNEW\r\n");
    }

    void tenMegabyteListKey_data() {
        QTest::addColumn<std::size_t>("length");
        QTest::newRow("10 MB") << TenMegabytes;
        // Its own file names fit, its temporary files' names would not.
        QTest::newRow("240 characters") << std::size_t{240};
    }

    // A 10 MB list key: shown cut short, and refused as a file name without touching a file
    // or costing the owner the settings file. So is a key whose files' names would fit but
    // whose temporary files' names would not.
    void tenMegabyteListKey() {
        QFETCH(std::size_t, length);
        TestApp t;
        const std::string key(length, 'K');
        t.WriteCabinet("emulators = mame kbfavFIGHT kbfav" + key, Games);
        t.WriteSettings();
        const auto before = Snapshot(t.cabinetDir);
        t.app.Start();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Rows(Menu(t)).size(), 2);
        QVERIFY(Rows(Menu(t))[1].startsWith(QStringLiteral(" KKK")));
        QVERIFY(Rows(Menu(t))[1].size() < 2000);
        Draw(t);
        t.Press(Qt::Key_Down);
        t.Press(Qt::Key_1);
        Draw(t);
        QVERIFY(Text(t, FormId::Form2, "Label12").size() < 2000);

        t.Press(Qt::Key_1);
        ExpectError(t, ErrorCode::PathFileAccessError, int(FormId::Form7), 1);
        Draw(t);
        QVERIFY(ReadBytes(t.programDir + "/favorlog.txt").size() < 10000);
        QVERIFY(Exists(t.programDir + "/favorize.cfg"));
        t.Press(Qt::Key_Escape);
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));

        OpenFromMenu(t, 1, 2);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form6));
        Draw(t);
        t.Press(Qt::Key_1);
        ExpectError(t, ErrorCode::PathFileAccessError, int(FormId::Form2), 2);
        t.Press(Qt::Key_Escape);
        QCOMPARE(Snapshot(t.cabinetDir), before);
        QVERIFY(Exists(t.programDir + "/favorize.cfg"));

        // The other list is still edited as usual.
        OpenFromMenu(t, 0, 1);
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Escape);
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.map")),
                 std::string("pacman \"Pac-Man (Midway)\"\r\n"));
    }

    // A 10 MB emulators line: the capacity stays negative instead of wrapping, and a deletion
    // rewrites the line whole, without the list.
    void tenMegabyteEmulatorsLine() {
        TestApp t;
        std::string fields;
        for (std::size_t i = 0; i < TenMegabytes / 2; ++i) {
            fields += " e";
        }
        t.WriteCabinet("emulators = mame kbfavFIGHT" + fields, Games);
        t.WriteSettings();
        const std::string kabinet = ReadBytes(KabinetPath(t));
        t.app.Start();
        QCOMPARE(Rows(Menu(t)), QStringList{" FIGHT"});
        QCOMPARE(Text(t, FormId::Form2, "Label11"), QStringLiteral("-32768"));
        t.Press(Qt::Key_Right);
        t.Press(Qt::Key_1); // Create: no room
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        t.Press(Qt::Key_Right);

        OpenFromMenu(t, 0, 2);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form6));
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinetcfg.tmp"), kabinet);
        QCOMPARE(ReadBytes(KabinetPath(t)), "# launcher\r\nemulators = mame" + fields + "\r\n");
        QVERIFY(Rows(Menu(t)).isEmpty());
    }

    // Game lines that are not UTF-8 are shown decoded and written back as the bytes they were.
    void gameLinesThatAreNotUtf8AreSavedByteForByte() {
        const std::vector<std::string> odd = {
            "cafe \"Caf\xE9 Racer\"",
            "ctrl \"\x80\x81\x8d\x8f\x90\x9d\x9f\"",
            "mixed \"\xC3\xA9 then \xE9\"",
            "\xE9t\xE9 \"no ROM name\"",
        };
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavODD", odd);
        t.WriteSettings();
        t.app.Start();
        OpenFromMenu(t, 0, 1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        QVERIFY(Rows(Control<QAbstractItemView>(t, FormId::Form7, "List1"))
                    .contains(QStringLiteral("cafe \"Caf\u00E9 Racer\"")));
        Draw(t);
        for (std::size_t i = 0; i < odd.size(); ++i) {
            t.Press(Qt::Key_1);
            t.Press(Qt::Key_Down);
        }
        QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("4"));
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));

        const std::string map = ReadBytes(Config(t, "kbfavODD.map"));
        std::vector<std::string> saved = SplitCrLf(map);
        const std::vector<std::string> romLines = SplitCrLf(ReadBytes(Config(t, "kbfavODD.rom")));
        QCOMPARE(romLines.size(), saved.size());
        for (std::size_t i = 0; i < saved.size(); ++i) {
            QCOMPARE(romLines[i], std::string(ExtractRomName(saved[i])));
        }
        std::sort(saved.begin(), saved.end());
        std::vector<std::string> sortedOdd = odd;
        std::sort(sortedOdd.begin(), sortedOdd.end());
        QCOMPARE(saved, sortedOdd);

        // Loaded and saved again: the same bytes.
        OpenFromMenu(t, 0, 1);
        QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("4"));
        t.Press(Qt::Key_Escape);
        QCOMPARE(ReadBytes(Config(t, "kbfavODD.map")), map);
    }

    // A settings file that is not what the program wrote: either the warning (the file kept as
    // it is) or the error screen with the code's own rule for the file.
    void brokenSettingsFile_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("code"); // 0: the warning panel
        QTest::addColumn<bool>("kept");

        const QByteArray junk = QByteArray::fromStdString(Junk(4096, 11));
        QTest::newRow("binary junk") << junk << 0 << true;
        QTest::newRow("missing keys")
            << QByteArray("# only this\r\nRun Favorizer fullscreen = 1\r\n") << 0 << true;
        QTest::newRow("keys in the wrong case")
            << QByteArray("kabinet.cfg default path = CABINET\r\n") << 0 << true;
        QTest::newRow("relative paths that lead nowhere")
            << QByteArray("Kabinet.cfg default path = nowhere\r\n"
                          "Mame.cfg default path = ../nowhere/config\r\n")
            << 0 << true;
        QTest::newRow("relative path to the cabinet")
            << QByteArray("Kabinet.cfg default path = cabinet\r\n")
            << ErrorCode::InvalidPropertyValue << false;
        QTest::newRow("NUL in a path")
            << (QByteArray("Kabinet.cfg default path = CABINET") + '\0' + "/x\r\n")
            << ErrorCode::BadFileName << false;
        QTest::newRow("path too long for the system")
            << ("Kabinet.cfg default path = " + QByteArray(SystemRoot) + QByteArray(5000, 'p') +
                "\r\n")
            << ErrorCode::BadFileName << false;
    }

    void brokenSettingsFile() {
        QFETCH(QByteArray, settings);
        QFETCH(int, code);
        QFETCH(bool, kept);
        TestApp t;
        t.WriteCabinet();
        const std::string path = t.programDir + "/favorize.cfg";
        const std::string bytes =
            settings.replace("CABINET", QByteArray::fromStdString(t.cabinetDir)).toStdString();
        WriteBytes(path, bytes);
        const auto cabinet = Snapshot(t.cabinetDir);

        const QString workingDir = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(t.root.path()));
        t.app.Start();
        QDir::setCurrent(workingDir);

        if (code == 0) {
            QCOMPARE(VisibleScreens(t), Only(FormId::Form1));
            QVERIFY(Shown(t, FormId::Form1, "Frame1"));
            QVERIFY(!Exists(t.programDir + "/favorlog.txt"));
            // Nothing usable was read: every folder is the root.
            QCOMPARE(t.app.shared.LauncherDir, std::string(SystemRoot));
            QCOMPARE(t.app.shared.MameMapDir, std::string(SystemRoot));
            t.Press(Qt::Key_Escape);
        } else {
            ExpectError(t, code, 0, 1);
            QVERIFY(!t.windows().IsLoaded(FormId::Form1));
            t.Press(Qt::Key_Escape);
        }
        QVERIFY(t.ended);
        QCOMPARE(Exists(path), kept);
        if (kept) {
            QCOMPARE(ReadBytes(path), bytes);
        }
        QCOMPARE(Snapshot(t.cabinetDir), cabinet);
        QVERIFY(t.messages.shown.empty());
    }

    // The launcher's config folder is a file: setup cannot take it as a folder, and where the
    // MAME files are found elsewhere, every use of the folder ends on the error screen.
    void configFolderThatIsAFile() {
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavFIGHT", Games);
        const std::string mameDir = t.cabinetDir + "/mame";
        std::filesystem::rename(t.configDir, mameDir);
        WriteBytes(t.configDir, "not a folder\r\n");

        {
            TestApp pointedAtTheFile;
            WriteBytes(pointedAtTheFile.programDir + "/favorize.cfg",
                       "Kabinet.cfg default path = " + t.cabinetDir +
                           "\r\nMame.cfg default path = " + t.cabinetDir +
                           "/config\r\nMame.map default path = " + t.configDir + "\r\n");
            pointedAtTheFile.app.Start();
            QCOMPARE(VisibleScreens(pointedAtTheFile), Only(FormId::Form1));
            QVERIFY(Shown(pointedAtTheFile, FormId::Form1, "Frame1"));
            QCOMPARE(pointedAtTheFile.app.shared.MameCfgDir, std::string(SystemRoot));
        }

        WriteBytes(t.programDir + "/favorize.cfg",
                   "Kabinet.cfg default path = " + t.cabinetDir + "\r\nMame.cfg default path = " +
                       mameDir + "\r\nMame.map default path = " + mameDir + "\r\n");
        t.app.Start();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        const std::string kabinet = ReadBytes(KabinetPath(t));

        OpenFromMenu(t, 0, 1);
        ExpectError(t, ErrorCode::PathNotFound, int(FormId::Form7), 1);
        QVERIFY(!Exists(t.programDir + "/favorize.cfg")); // the rule for a path not found
        t.Press(Qt::Key_Escape);
        QCOMPARE(ActiveId(t), int(FormId::Form7));
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));

        CreateList(t, "NEW");
        ExpectError(t, ErrorCode::PathNotFound, int(FormId::Form4), 2);
        t.Press(Qt::Key_Escape);
        QCOMPARE(ActiveId(t), int(FormId::Form4));
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinetcfg.tmp"), kabinet);
        t.Press(Qt::Key_Escape);
        t.Press(Qt::Key_Escape);

        DeletionFails(t, ErrorCode::PathNotFound, 3);

        QCOMPARE(ReadBytes(t.configDir), std::string("not a folder\r\n"));
        QCOMPARE(ReadBytes(mameDir + "/mame.map"), std::string("sf2 \"Street Fighter II: The World "
                                                               "Warrior\"\r\npacman \"Pac-Man "
                                                               "(Midway)\"\r\n"));
        QVERIFY(!t.ended);
    }

    // A save that fails: the error over the editor, which stays with the edits. Once the cause
    // is gone, ESC saves them; a save that fails again on the retry closes the editor without
    // writing more and the menu comes back, the second failure shown over it; both are logged.
    void aFailedSave() {
        for (const bool failsAgain : {false, true}) {
            SaveFails(failsAgain);
            if (QTest::currentTestFailed()) {
                return;
            }
        }
    }

    // A pipe in place of mame.map: the editor's read ends at once on the error screen instead
    // of waiting for a writer for ever.
    void mameMapThatIsAPipe() {
#ifdef _WIN32
        QSKIP("a named pipe cannot stand in a folder on Windows");
#else
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavFIGHT", Games);
        WriteBytes(Config(t, "kbfavFIGHT.map"), "sf2\r\n");
        t.WriteSettings();
        // Set up with a file, which the setup would have taken for a missing one.
        t.app.Start();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        std::filesystem::remove(Config(t, "mame.map"));
        QCOMPARE(::mkfifo(Config(t, "mame.map").c_str(), 0666), 0);
        const auto before = Snapshot(t.cabinetDir);

        OpenFromMenu(t, 0, 1);
        ExpectError(t, ErrorCode::PathFileAccessError, int(FormId::Form7), 1);
        QVERIFY(Exists(t.programDir + "/favorize.cfg"));
        t.Press(Qt::Key_Escape);
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Snapshot(t.cabinetDir), before);
        QVERIFY(std::filesystem::is_fifo(Config(t, "mame.map")));
#endif
    }

    // A list whose map file is a folder: the editor cannot load it and saves nothing over it;
    // a deletion stops there.
    void listMapThatIsAFolder() {
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavFIGHT kbfavRACE", Games);
        std::filesystem::create_directory(Config(t, "kbfavFIGHT.map"));
        WriteBytes(Config(t, "kbfavFIGHT.map") + "/keep.txt", "keep me\r\n");
        WriteBytes(Config(t, "kbfavFIGHT.rom"), "sf2\r\n");
        WriteBytes(Config(t, "kbfavFIGHT.cfg"), "name = FIGHT\r\n");
        t.WriteSettings();
        const auto before = Snapshot(t.cabinetDir);
        t.app.Start();

        OpenFromMenu(t, 0, 1);
        ExpectError(t, ErrorCode::PathFileAccessError, int(FormId::Form7), 1);
        QVERIFY(Exists(t.programDir + "/favorize.cfg"));
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        QCOMPARE(ActiveId(t), int(FormId::Form7));
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Right);
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Snapshot(t.cabinetDir), before);

        // The other list still works.
        OpenFromMenu(t, 1, 1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        t.Press(Qt::Key_Escape);
        QCOMPARE(ReadBytes(Config(t, "kbfavRACE.map")), std::string());

        OpenFromMenu(t, 0, 2);
        t.Press(Qt::Key_1);
        ExpectError(t, ErrorCode::PathFileAccessError, int(FormId::Form2), 2);
        t.Press(Qt::Key_Escape);
        QCOMPARE(Rows(Menu(t)), QStringList{" RACE"});
        QVERIFY(!Exists(Config(t, "kbfavFIGHT.cfg")));
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.map") + "/keep.txt"), std::string("keep me\r\n"));
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.rom")), std::string("sf2\r\n"));
    }
};

QTEST_MAIN(BadInputTest)
#include "bad_input_test.moc"
