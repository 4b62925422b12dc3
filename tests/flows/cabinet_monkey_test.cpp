#include "flows/flow_helpers.h"

#include <QTest>
#include <filesystem>
#include <random>
#include <set>

using namespace fav;
using namespace fav::test;

namespace {

// The list keys on the emulators line, and the keys that have a .cfg file in config/.
std::set<std::string> DeclaredKeys(const TestApp& t) {
    std::set<std::string> keys;
    for (const std::string& line : SplitCrLf(ReadBytes(t.cabinetDir + "/kabinet.cfg"))) {
        if (line.starts_with("emulators =")) {
            std::size_t start = 0;
            while (start <= line.size()) {
                const std::size_t end = std::min(line.find(' ', start), line.size());
                const std::string field = line.substr(start, end - start);
                if (field.starts_with("kbfav")) {
                    keys.insert(field.substr(5));
                }
                start = end + 1;
            }
        }
    }
    return keys;
}

std::set<std::string> KeysWithFiles(const TestApp& t, const std::string& extension) {
    std::set<std::string> keys;
    for (const auto& entry : std::filesystem::directory_iterator(t.configDir)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("kbfav") && name.ends_with(extension)) {
            keys.insert(name.substr(5, name.size() - 5 - extension.size()));
        }
    }
    return keys;
}

} // namespace

class CabinetMonkeyTest : public QObject {
    Q_OBJECT

private slots:
    // Random presses of the cabinet's controls (and a few keys a cabinet does not have) on a
    // healthy cabinet: always exactly one screen to look at, never an error, and the lists
    // declared in kabinet.cfg always match the list files on disk.
    void randomPressesKeepTheProgramWhole() {
        const Qt::Key keys[] = {Qt::Key_Left,    Qt::Key_Up,  Qt::Key_Right, Qt::Key_Down,
                                Qt::Key_1,       Qt::Key_1,   Qt::Key_1,     Qt::Key_Escape,
                                Qt::Key_Control, Qt::Key_Alt, Qt::Key_A,     Qt::Key_Return};
        std::vector<std::string> games;
        for (int i = 0; i < 60; ++i) {
            games.push_back("g" + std::to_string(i) + " \"Game " + std::to_string(i) + "\"");
        }
        for (unsigned seed = 1; seed <= 24; ++seed) {
            std::mt19937 random(seed);
            TestApp t;
            t.WriteCabinet("emulators = mame kbfavFIGHT kbfavRACE", games);
            for (const char* key : {"FIGHT", "RACE"}) {
                for (const char* extension : {".cfg", ".map", ".rom"}) {
                    WriteBytes(t.cabinetDir + "/config/kbfav" + key + extension, "");
                }
            }
            t.WriteSettings();
            t.app.Start();
            for (int step = 0; step < 400 && !t.ended; ++step) {
                Qt::Key key = keys[random() % std::size(keys)];
                // ESC ends the program from the menu: let it come less often.
                if (key == Qt::Key_Escape && random() % 3 != 0) {
                    key = Qt::Key_1;
                }
                t.Press(key);
                if (t.ended) {
                    break;
                }
                const std::vector<int> visible = VisibleScreens(t);
                const int active = ActiveId(t);
                if (visible.size() != 1 || active != visible.front()) {
                    qWarning() << "seed" << seed << "step" << step << "visible" << visible
                               << "active" << active;
                    QFAIL("not exactly one screen with the keyboard");
                }
                if (step % 100 == 0) {
                    Draw(t);
                }
            }
            const std::set<std::string> declared = DeclaredKeys(t);
            QCOMPARE(KeysWithFiles(t, ".cfg"), declared);
            QCOMPARE(KeysWithFiles(t, ".map"), declared);
            QCOMPARE(KeysWithFiles(t, ".rom"), declared);
            for (const std::string& key : declared) {
                const std::string base = t.cabinetDir + "/config/kbfav" + key;
                QCOMPARE(SplitCrLf(ReadBytes(base + ".rom")).size(),
                         SplitCrLf(ReadBytes(base + ".map")).size());
            }
            QVERIFY(ReadBytes(t.cabinetDir + "/kabinet.cfg").starts_with("# launcher\r\n"));
            QVERIFY(!Exists(t.programDir + "/favorlog.txt"));
        }
    }
};

QTEST_MAIN(CabinetMonkeyTest)
#include "cabinet_monkey_test.moc"
