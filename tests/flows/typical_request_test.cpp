#include "flows/flow_helpers.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace fav;
using namespace fav::test;

namespace {

const std::vector<std::string> Games = {
    "sf2 \"Street Fighter II: The World Warrior\"",
    "pacman \"Pac-Man (Midway)\"",
    "dkong \"Donkey Kong (US set 1)\"",
    "1942 \"1942 (Revision B)\"",
};

std::string Config(const TestApp& t, const std::string& name) {
    return t.cabinetDir + "/config/" + name;
}

} // namespace

class TypicalRequestTest : public QObject {
    Q_OBJECT

private slots:
    // Adding one game to an existing list, from the start of the program to the menu again.
    void addOneGameToAList() {
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavFIGHT kbfavRACE", Games);
        WriteBytes(Config(t, "kbfavRACE.map"), "outrun \"Out Run (sitdown/upright, Rev B)\"\r\n");
        WriteBytes(Config(t, "kbfavRACE.rom"), "outrun\r\n");
        WriteBytes(Config(t, "kbfavFIGHT.map"), "sf2 \"Street Fighter II: The World Warrior\"\r\n");
        t.WriteSettings();
        const std::string kabinet = ReadBytes(t.cabinetDir + "/kabinet.cfg");
        const std::string fightMap = ReadBytes(Config(t, "kbfavFIGHT.map"));

        t.app.Start();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ActiveId(t), int(FormId::Form2));
        QVERIFY(t.messages.shown.empty());
        auto* lists = Control<QListWidget>(t, FormId::Form2, "List1");
        QCOMPARE(Rows(lists), (QStringList{" FIGHT", " RACE"}));
        QCOMPARE(SelectedRow(lists), 0);
        QCOMPARE(Text(t, FormId::Form2, "Label11"), QStringLiteral("13"));

        t.Press(Qt::Key_Down);
        QCOMPARE(SelectedRow(lists), 1);
        t.Press(Qt::Key_1);
        auto* options = Control<QListWidget>(t, FormId::Form2, "List2");
        QVERIFY(options->isEnabled() && !lists->isEnabled());
        QCOMPARE(options->currentItem()->text(),
                 QStringLiteral("Edit the selected Favorites List Games."));
        t.Press(Qt::Key_1);

        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        QCOMPARE(ActiveId(t), int(FormId::Form7));
        QVERIFY(!t.windows().IsLoaded(FormId::Form2));
        QCOMPARE(t.app.shared.CurrentListName, std::string(" RACE"));
        QCOMPARE(t.windows().Find(FormId::Form7)->windowTitle(),
                 QStringLiteral("Edit Game List:  RACE"));
        auto* games = Control<QAbstractItemView>(t, FormId::Form7, "List1");
        auto* favourites = Control<QAbstractItemView>(t, FormId::Form7, "List2");
        QCOMPARE(Rows(games),
                 (QStringList{"1942 \"1942 (Revision B)\"", "dkong \"Donkey Kong (US set 1)\"",
                              "pacman \"Pac-Man (Midway)\"",
                              "sf2 \"Street Fighter II: The World Warrior\""}));
        QCOMPARE(Text(t, FormId::Form7, "Label11"), QStringLiteral("4"));
        QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("1"));
        QCOMPARE(SelectedRow(games), 0);

        t.Press(Qt::Key_Down, 2);
        QCOMPARE(SelectedRow(games), 2);
        t.Press(Qt::Key_1);
        QCOMPARE(Rows(favourites), (QStringList{"outrun \"Out Run (sitdown/upright, Rev B)\"",
                                                "pacman \"Pac-Man (Midway)\""}));
        QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("2"));
        // Nothing reaches the disk while editing.
        QCOMPARE(ReadBytes(Config(t, "kbfavRACE.rom")), std::string("outrun\r\n"));

        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ActiveId(t), int(FormId::Form2));
        TestApp::Settle();
        QVERIFY(!t.windows().IsLoaded(FormId::Form7));
        QCOMPARE(ReadBytes(Config(t, "kbfavRACE.map")),
                 std::string("outrun \"Out Run (sitdown/upright, Rev B)\"\r\n"
                             "pacman \"Pac-Man (Midway)\"\r\n"));
        QCOMPARE(ReadBytes(Config(t, "kbfavRACE.rom")), std::string("outrun\r\npacman\r\n"));
        // The other list and the launcher's files are as they were.
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.map")), fightMap);
        QVERIFY(!Exists(Config(t, "kbfavFIGHT.rom")));
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinet.cfg"), kabinet);
        QVERIFY(!Exists(t.cabinetDir + "/kabinetcfg.tmp"));

        // The menu was built afresh: both lists, the first selected, the favourites menu active.
        lists = Control<QListWidget>(t, FormId::Form2, "List1");
        QCOMPARE(Rows(lists), (QStringList{" FIGHT", " RACE"}));
        QCOMPARE(SelectedRow(lists), 0);
        QVERIFY(lists->isEnabled());
        QVERIFY(t.messages.shown.empty());

        t.Press(Qt::Key_Escape);
        QVERIFY(t.ended);
        QVERIFY(t.windows().LoadedForms().empty());
        QVERIFY(!Exists(t.programDir + "/favorlog.txt"));
    }

    // The same request on a cabinet set to full screen: every main screen comes up maximised.
    void fullScreenCabinetShowsTheMainScreensMaximised() {
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavFIGHT", Games);
        t.WriteSettings(1);
        t.app.Start();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QVERIFY(t.windows().Find(FormId::Form2)->isMaximized());
        t.Press(Qt::Key_1, 2);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        QVERIFY(t.windows().Find(FormId::Form7)->isMaximized());
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.map")),
                 std::string("1942 \"1942 (Revision B)\"\r\n"));
        QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.rom")), std::string("1942\r\n"));
        // Left, then Cancel in the options menu: the program ends from there too.
        t.Press(Qt::Key_Left);
        t.Press(Qt::Key_Down, 3);
        QCOMPARE(Control<QListWidget>(t, FormId::Form2, "List2")->currentItem()->text(),
                 QStringLiteral("Cancel (ESC)."));
        t.Press(Qt::Key_1);
        QVERIFY(t.ended);
    }

    // A kabinet.cfg without MAME: the owner is told, and the program ends.
    void launcherWithoutMameEndsAfterTheMessage() {
        TestApp t;
        t.WriteCabinet("emulators = daphne kbfavFIGHT", Games);
        t.WriteSettings();
        const std::string kabinet = ReadBytes(t.cabinetDir + "/kabinet.cfg");
        t.app.Start();
        QCOMPARE(t.messages.shown.size(), std::size_t{1});
        QCOMPARE(t.messages.shown[0].caption, QStringLiteral("Favorizer"));
        QCOMPARE(t.messages.shown[0].icon, MessageIcon::Critical);
        QVERIFY(t.ended);
        QVERIFY(t.windows().LoadedForms().empty());
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinet.cfg"), kabinet);
    }
};

QTEST_MAIN(TypicalRequestTest)
#include "typical_request_test.moc"
