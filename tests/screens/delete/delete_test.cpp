#include "support/test_app.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <map>

using namespace fav;
using namespace fav::test;

namespace {

const char* const Extensions[] = {".cfg", ".map", ".rom"};

std::string ListFile(const TestApp& t, const std::string& key, const char* extension) {
    return t.cabinetDir + "/config/kbfav" + key + extension;
}

// A cabinet with the emulators line and the three files of each named list.
void WriteLists(TestApp& t, const std::string& emulatorsLine,
                const std::vector<std::string>& keys) {
    t.WriteCabinet(emulatorsLine);
    t.app.shared.LauncherDir = t.cabinetDir;
    for (const auto& key : keys) {
        for (const char* extension : Extensions) {
            WriteBytes(ListFile(t, key, extension), key + extension);
        }
    }
}

// Every file of the cabinet with its bytes.
std::map<std::string, std::string> Snapshot(const TestApp& t) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(t.cabinetDir)) {
        if (entry.is_regular_file()) {
            files[entry.path().string()] = ReadBytes(entry.path().string());
        }
    }
    return files;
}

QStringList MenuEntries(TestApp& t) {
    QStringList entries;
    auto* list = t.windows().Find(FormId::Form2)->findChild<QListWidget*>("List1");
    for (int row = 0; row < list->count(); ++row) {
        entries << list->item(row)->text();
    }
    return entries;
}

} // namespace

class DeleteTest : public QObject {
    Q_OBJECT

private slots:
    void keysShowTheirCodeAndEscChangesNothing() {
        TestApp t;
        WriteLists(t, "emulators = mame kbfavFIGHT kbfavRACE", {"FIGHT", "RACE"});
        const auto before = Snapshot(t);
        // From the menu, as the cabinet gets there: Delete on the first list.
        t.windows().Show(FormId::Form2);
        t.Press(Qt::Key_Right);
        t.Press(Qt::Key_Down, 2);
        t.Press(Qt::Key_1);
        Form* form = t.windows().Find(FormId::Form6);
        QCOMPARE(t.windows().ActiveForm(), form);
        QCOMPARE(form->windowTitle(), QStringLiteral("Delete  FIGHT???"));
        QCOMPARE(form->findChild<QLabel*>("Label3")->text(), QStringLiteral(" FIGHT"));

        // A key the cabinet lacks (A) leaves the heading as the last cabinet key left it.
        for (auto [key, code] : {std::pair{Qt::Key_Down, "40"}, std::pair{Qt::Key_Up, "38"},
                                 std::pair{Qt::Key_Control, "17"}, std::pair{Qt::Key_A, "17"}}) {
            t.Press(key);
            QCOMPARE(form->findChild<QLabel*>("Label1")->text(), QString::fromLatin1(code));
            QCOMPARE(t.windows().ActiveForm(), form);
        }

        t.Press(Qt::Key_Escape);
        QVERIFY(!t.windows().IsLoaded(FormId::Form6));
        QCOMPARE(t.windows().ActiveForm()->id(), FormId::Form2);
        QCOMPARE(MenuEntries(t), QStringList({" FIGHT", " RACE"}));
        QCOMPARE(Snapshot(t), before);
    }

    void startDeletesTheListAndReturnsToTheMenu() {
        struct Case {
            const char* before;
            std::vector<std::string> files; // lists whose files exist
            const char* after;
            QStringList menu;
        };
        const Case cases[] = {
            {"emulators = mame kbfavFIGHT kbfavRACE",
             {"FIGHT", "RACE"},
             "emulators = mame kbfavRACE",
             {" RACE"}},
            {"Emulators = mame kbfavFIGHT kbfavRACE",
             {"FIGHT", "RACE"},
             "Emulators = mame kbfavRACE",
             {" RACE"}},
            {"emulators = mame kbfavFIGHT", {"FIGHT"}, "emulators = mame", {}},
            // Files already gone are skipped; the entry still goes.
            {"emulators = mame kbfavFIGHT kbfavRACE",
             {"RACE"},
             "emulators = mame kbfavRACE",
             {" RACE"}},
        };
        for (const Case& c : cases) {
            TestApp t;
            WriteLists(t, c.before, c.files);
            const std::string config = ReadBytes(t.cabinetDir + "/kabinet.cfg");
            t.app.shared.CurrentListName = " FIGHT";
            t.windows().Show(FormId::Form6);
            t.Press(Qt::Key_1);

            QCOMPARE(ReadBytes(t.cabinetDir + "/kabinet.cfg"),
                     std::string("# launcher\r\n") + c.after + "\r\n");
            QCOMPARE(ReadBytes(t.cabinetDir + "/kabinetcfg.tmp"), config);
            for (const char* extension : Extensions) {
                QVERIFY(!Exists(ListFile(t, "FIGHT", extension)));
                QCOMPARE(Exists(ListFile(t, "RACE", extension)), c.files.back() == "RACE");
            }
            QCOMPARE(t.app.shared.CurrentListName, std::string("FIGHT"));
            QVERIFY(!t.windows().IsLoaded(FormId::Form6));
            QCOMPARE(t.windows().ActiveForm()->id(), FormId::Form2);
            QCOMPARE(MenuEntries(t), c.menu);
        }
    }

    void failedStepIsReportedOverTheMenu() {
        struct Case {
            const char* line;
            const char* entry;
            const char* folderInTheWay; // makes one step fail
            bool configRewritten;
        };
        const Case cases[] = {
            {"emulators = mame kbfavFIGHT", " FIGHT", "/kabinetcfg.tmp", false},
            {"emulators = mame kbfavFIGHT", " FIGHT", "/config/kbfavFIGHT.map/x", true},
            {"emulators = mame kbfava/b", " a/b", nullptr, false}, // would leave config/
        };
        for (const Case& c : cases) {
            TestApp t;
            WriteLists(t, c.line, {"FIGHT"});
            if (c.folderInTheWay != nullptr) {
                std::filesystem::remove(ListFile(t, "FIGHT", ".map"));
                std::filesystem::create_directories(t.cabinetDir + c.folderInTheWay);
            }
            const auto before = Snapshot(t);
            t.app.shared.CurrentListName = c.entry;
            t.windows().Show(FormId::Form6);
            t.Press(Qt::Key_1);

            QCOMPARE(t.windows().ActiveForm()->id(), FormId::Form5);
            QCOMPARE(t.app.CurrentFailure().code, 75);
            QVERIFY(!t.windows().IsLoaded(FormId::Form6));
            QCOMPARE(Snapshot(t) != before, c.configRewritten);
            QVERIFY(Exists(ListFile(t, "FIGHT", ".rom")));

            t.Press(Qt::Key_Escape);
            QCOMPARE(t.windows().ActiveForm()->id(), FormId::Form2);
        }
    }
};

QTEST_MAIN(DeleteTest)
#include "delete_test.moc"
