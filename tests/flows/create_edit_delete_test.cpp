#include "app/controls.h"
#include "core/backups/list_versions.h"
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
};

std::string Config(const TestApp& t, const std::string& name) {
    return t.cabinetDir + "/config/" + name;
}

std::string Kabinet(const TestApp& t) {
    return ReadBytes(t.cabinetDir + "/kabinet.cfg");
}

QListWidget* Menu(TestApp& t, const char* name) {
    return Control<QListWidget>(t, FormId::Form2, name);
}

QString OptionShown(TestApp& t) {
    const QListWidgetItem* item = Menu(t, "List2")->currentItem();
    return item == nullptr ? QString() : item->text();
}

// From the favourites menu to the options menu on the given item, with the joystick.
void ChooseOption(TestApp& t, int item) {
    t.Press(Qt::Key_Right);
    const int at = SelectedRow(Menu(t, "List2"));
    if (item > at) {
        t.Press(Qt::Key_Down, item - at);
    } else if (item < at) {
        t.Press(Qt::Key_Up, at - item);
    }
}

// The keyboard as every opening shows it: name phase, caps on, "A" previewed in the first slot.
bool KeyboardAtStart(TestApp& t) {
    return Shown(t, FormId::Form3, "Label2") && !Shown(t, FormId::Form3, "Label5") &&
           Text(t, FormId::Form3, "Label9").isEmpty() && HighlightedKey(t) == 0 &&
           Text(t, FormId::Form3, "Label3(0)") == QStringLiteral("A") &&
           Text(t, FormId::Form3, "Label3(1)") == QStringLiteral("_");
}

} // namespace

class CreateEditDeleteTest : public QObject {
    Q_OBJECT

private slots:
    // A new list typed on the on-screen keyboard, given games, deleted; then the program ends.
    void createEditDeleteAndExit() {
        TestApp t;
        t.WriteCabinet("emulators = mame", Games);
        WriteBytes(Config(t, "mame.cfg"), "# MAME for Kabinet\r\nname = MAME\r\nexe = mame.exe\r\n"
                                          "description = Multiple Arcade Machine Emulator\r\n");
        t.WriteSettings();
        const std::string kabinet = Kabinet(t);
        t.app.Start();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QVERIFY(Rows(Menu(t, "List1")).isEmpty());
        QCOMPARE(Text(t, FormId::Form2, "Label11"), QStringLiteral("15"));

        // Create.
        ChooseOption(t, 0);
        QCOMPARE(OptionShown(t), QStringLiteral("Create a new favorites List."));
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form3));
        QCOMPARE(ActiveId(t), int(FormId::Form3));
        QVERIFY(KeyboardAtStart(t));
        Draw(t);

        QVERIFY(TypeOnKeyboard(t, "Retro_80s"));
        QCOMPARE(Text(t, FormId::Form3, "Label3(8)"), QStringLiteral("s"));
        PressKeyboardKey(t, DoneKey);
        QVERIFY(Shown(t, FormId::Form3, "Label5"));
        QCOMPARE(Text(t, FormId::Form3, "Label9"), QStringLiteral("Retro_80s"));
        QVERIFY(TypeOnKeyboard(t, "Best_of_(1)!"));
        // Twelve characters: the highlight went to "Done" by itself.
        QCOMPARE(HighlightedKey(t), DoneKey);
        t.Press(Qt::Key_1);

        QCOMPARE(VisibleScreens(t), Only(FormId::Form4));
        QCOMPARE(ActiveId(t), int(FormId::Form4));
        QCOMPARE(t.app.shared.CurrentListName, std::string("Retro_80s"));
        QCOMPARE(t.app.shared.NewListDescription, std::string("Best_of_(1)!"));
        QCOMPARE(Text(t, FormId::Form4, "Label3"), QStringLiteral("Retro_80s"));
        QCOMPARE(Text(t, FormId::Form4, "Label4"), QStringLiteral("Best_of_(1)!"));
        QVERIFY(HasBorder(Control(t, FormId::Form4, "Label6")));
        Draw(t);
        t.Press(Qt::Key_1);

        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Kabinet(t), std::string("# launcher\r\nemulators = mame kbfavRetro_80s\r\n"));
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinetcfg.tmp"), kabinet);
        QCOMPARE(ReadBytes(Config(t, "kbfavRetro_80s.cfg")),
                 std::string("# MAME for Kabinet\r\nname = Retro 80s\r\nexe = mame.exe\r\n"
                             "description =Best of (1)!\r\n"));
        QVERIFY(Exists(Config(t, "kbfavRetro_80s.map")));
        QCOMPARE(ReadBytes(Config(t, "kbfavRetro_80s.map")), std::string());
        QCOMPARE(ReadBytes(Config(t, "kbfavRetro_80s.rom")), std::string());
        QCOMPARE(Rows(Menu(t, "List1")), QStringList{" Retro_80s"});
        QCOMPARE(SelectedRow(Menu(t, "List1")), 0);
        QCOMPARE(Text(t, FormId::Form2, "Label11"), QStringLiteral("14"));

        // Edit: two games added, the empty list's files filled.
        t.Press(Qt::Key_1);
        QCOMPARE(OptionShown(t), QStringLiteral("Edit the selected Favorites List Games."));
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("0"));
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Down, 2);
        t.Press(Qt::Key_1);
        QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("2"));
        Draw(t);
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ReadBytes(Config(t, "kbfavRetro_80s.map")),
                 std::string("dkong \"Donkey Kong (US set 1)\"\r\n"
                             "sf2 \"Street Fighter II: The World Warrior\"\r\n"));
        QCOMPARE(ReadBytes(Config(t, "kbfavRetro_80s.rom")), std::string("dkong\r\nsf2\r\n"));

        // Delete.
        ChooseOption(t, 2);
        QCOMPARE(OptionShown(t), QStringLiteral("Delete the selected Favorites List."));
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form6));
        QCOMPARE(ActiveId(t), int(FormId::Form6));
        QCOMPARE(t.app.shared.CurrentListName, std::string(" Retro_80s"));
        QCOMPARE(t.windows().Find(FormId::Form6)->windowTitle(),
                 QStringLiteral("Delete  Retro_80s???"));
        Draw(t);
        t.Press(Qt::Key_Down);
        QCOMPARE(Text(t, FormId::Form6, "Label1"), QStringLiteral("40"));
        QVERIFY(Exists(Config(t, "kbfavRetro_80s.cfg")));
        t.Press(Qt::Key_1);

        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ActiveId(t), int(FormId::Form2));
        QCOMPARE(Kabinet(t), kabinet);
        for (const char* extension : {".cfg", ".map", ".rom"}) {
            QVERIFY(!Exists(Config(t, std::string("kbfavRetro_80s") + extension)));
        }
        QCOMPARE(Snapshot(t.configDir).size(), std::size_t{2});
        QVERIFY(Rows(Menu(t, "List1")).isEmpty());
        QCOMPARE(Text(t, FormId::Form2, "Label11"), QStringLiteral("15"));

        // Exit.
        t.Press(Qt::Key_Escape);
        QVERIFY(t.ended);
        QVERIFY(t.windows().LoadedForms().empty());
        QVERIFY(t.messages.shown.empty());
        QVERIFY(!Exists(t.programDir + "/favorlog.txt"));
    }

    // Every way back: nothing is written, and each screen starts afresh when shown again.
    void wayBackFromEveryScreenChangesNothing() {
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavFIGHT", Games);
        WriteBytes(Config(t, "kbfavFIGHT.cfg"), "name = FIGHT\r\n");
        WriteBytes(Config(t, "kbfavFIGHT.map"), "sf2 \"Street Fighter II: The World Warrior\"\r\n");
        WriteBytes(Config(t, "kbfavFIGHT.rom"), "sf2\r\n");
        t.WriteSettings();
        const auto before = Snapshot(t.cabinetDir);
        t.app.Start();

        // Keyboard, ESC: back to the menu.
        ChooseOption(t, 0);
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form3));
        QVERIFY(TypeOnKeyboard(t, "AB"));
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(ActiveId(t), int(FormId::Form2));
        QCOMPARE(Rows(Menu(t, "List1")), QStringList{" FIGHT"});

        // Verify, No: the keyboard from the start.
        ChooseOption(t, 0);
        t.Press(Qt::Key_1);
        QVERIFY(EnterNameAndDescription(t, "NEW", ""));
        QCOMPARE(VisibleScreens(t), Only(FormId::Form4));
        QCOMPARE(t.app.shared.NewListDescription, std::string());
        t.Press(Qt::Key_Right);
        QVERIFY(HasBorder(Control(t, FormId::Form4, "Label7")));
        QVERIFY(!Control(t, FormId::Form4, "Label6")->isEnabled());
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form3));
        QCOMPARE(ActiveId(t), int(FormId::Form3));
        QVERIFY(KeyboardAtStart(t));

        // Verify, ESC: the keyboard from the start.
        QVERIFY(EnterNameAndDescription(t, "NEW", "X"));
        QCOMPARE(VisibleScreens(t), Only(FormId::Form4));
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form3));
        QVERIFY(KeyboardAtStart(t));

        // A name that is taken: the message covers the screen; ESC goes back to the keyboard.
        QVERIFY(EnterNameAndDescription(t, "FIGHT", ""));
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form4));
        QVERIFY(Shown(t, FormId::Form4, "Frame1"));
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form3));
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));

        // Delete, ESC: back to the menu with the list still there.
        ChooseOption(t, 2);
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form6));
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Rows(Menu(t, "List1")), QStringList{" FIGHT"});

        QCOMPARE(Snapshot(t.cabinetDir), before);
        QVERIFY(t.messages.shown.empty());
        QVERIFY(!t.ended);
    }

    // A cabinet as Linux keeps it: names in other letter cases and LF line ends, the settings
    // file too. It starts straight into the menu; an edit and a deletion write the files where
    // they are, with CR LF, and change nothing else.
    void caseVariantLfCabinetStartsIntoTheMenuAndIsEdited() {
#ifdef _WIN32
        QSKIP("Windows itself matches names ignoring case");
#endif
        TestApp t;
        const std::string config = t.cabinetDir + "/Config";
        std::filesystem::rename(t.configDir, config);
        const std::string kabinet = "# launcher\n[kabinet]\nemulators = mame kbfavFIGHT\n"
                                    "[video]\nresolution = 640x480\n";
        WriteBytes(t.cabinetDir + "/Kabinet.cfg", kabinet);
        WriteBytes(config + "/MAME.cfg", "name = MAME\n");
        std::string map;
        for (const auto& game : Games) {
            map += game + "\n";
        }
        WriteBytes(config + "/Mame.Map", map);
        WriteBytes(config + "/kbfavFight.cfg", "name = FIGHT\n");
        WriteBytes(config + "/KBFAVFIGHT.MAP", "pacman \"Pac-Man (Midway)\"\n");
        WriteBytes(config + "/kbfavfight.rom", "pacman\n");
        WriteBytes(t.programDir + "/favorize.cfg", "Kabinet.cfg default path = " + t.cabinetDir +
                                                       "\nMame.cfg default path = " + config +
                                                       "\nMame.map default path = " + config +
                                                       "\nRun Favorizer fullscreen = 0\n");
        t.app.Start();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Rows(Menu(t, "List1")), QStringList{" FIGHT"});

        ChooseOption(t, 1);
        QCOMPARE(OptionShown(t), QStringLiteral("Edit the selected Favorites List Games."));
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("1"));
        t.Press(Qt::Key_1);
        QCOMPARE(Text(t, FormId::Form7, "Label13"), QStringLiteral("2"));
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(
            ReadBytes(config + "/KBFAVFIGHT.MAP"),
            std::string("dkong \"Donkey Kong (US set 1)\"\r\npacman \"Pac-Man (Midway)\"\r\n"));
        QCOMPARE(ReadBytes(config + "/kbfavfight.rom"), std::string("dkong\r\npacman\r\n"));
        QCOMPARE(ReadBytes(t.cabinetDir + "/Kabinet.cfg"), kabinet);

        ChooseOption(t, 2);
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form6));
        t.Press(Qt::Key_Down);
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QVERIFY(Rows(Menu(t, "List1")).isEmpty());
        QCOMPARE(ReadBytes(t.cabinetDir + "/Kabinet.cfg"),
                 std::string("# launcher\r\n[kabinet]\r\nemulators = mame\r\n[video]\r\n"
                             "resolution = 640x480\r\n"));
        QCOMPARE(Snapshot(t.cabinetDir),
                 (std::map<std::string, std::string>{
                     {t.cabinetDir + "/Kabinet.cfg", ReadBytes(t.cabinetDir + "/Kabinet.cfg")},
                     {t.cabinetDir + "/kabinetcfg.tmp",
                      "# launcher\r\n[kabinet]\r\nemulators = mame kbfavFIGHT\r\n[video]\r\n"
                      "resolution = 640x480\r\n"},
                     {config + "/MAME.cfg", "name = MAME\n"},
                     {config + "/Mame.Map", map}}));
        QVERIFY(t.messages.shown.empty());
    }

    // With no room left on the emulators line, Create does nothing and the menu stays.
    void fullEmulatorsLineRefusesANewList() {
        TestApp t;
        t.WriteCabinet("emulators = mame a b c d e f g h i j k l m n o p", Games);
        t.WriteSettings();
        t.app.Start();
        QCOMPARE(Text(t, FormId::Form2, "Label11"), QStringLiteral("-1"));
        ChooseOption(t, 0);
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QVERIFY(!t.windows().IsLoaded(FormId::Form3));
    }

    // A creation that fails part-way: the error screen over the verify screen, which comes back
    // when it closes; what was already written stays.
    void creationFailureShowsTheErrorOverTheVerifyScreen() {
        TestApp t;
        t.WriteCabinet("emulators = mame", Games);
        t.WriteSettings();
        t.app.Start();
        // The launcher's MAME configuration goes missing while the program runs.
        std::filesystem::remove(Config(t, "mame.cfg"));
        ChooseOption(t, 0);
        t.Press(Qt::Key_1);
        QVERIFY(EnterNameAndDescription(t, "NEW", ""));
        t.Press(Qt::Key_1);

        QCOMPARE(VisibleScreens(t), (std::vector<int>{4, 5}));
        QCOMPARE(ActiveId(t), int(FormId::Form5));
        QCOMPARE(Text(t, FormId::Form5, "Label1"), QStringLiteral("Error# 53 was encountered."));
        QCOMPARE(LogLines(t.programDir).size(), std::size_t{1});
        QVERIFY(LogLines(t.programDir)[0].starts_with(std::string(FixedDateTime) +
                                                      " Favorizer encounted error# 53 ---"));
        QVERIFY(Exists(t.programDir + "/favorize.cfg"));
        QCOMPARE(Kabinet(t), std::string("# launcher\r\nemulators = mame kbfavNEW\r\n"));
        QVERIFY(!Exists(Config(t, "kbfavNEW.cfg")));

        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form4));
        QCOMPARE(ActiveId(t), int(FormId::Form4));
        QVERIFY(HasBorder(Control(t, FormId::Form4, "Label6")));
        t.Press(Qt::Key_Escape);
        t.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Rows(Menu(t, "List1")), QStringList{" NEW"});
    }

    // A deleted list's games come back when its name is created again and the question is
    // answered Yes, exactly as last saved; No leaves the new list empty.
    void deletedListsGamesComeBackOnlyWhenAsked() {
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavFIGHT", Games);
        WriteBytes(Config(t, "mame.cfg"), "name = MAME\r\ndescription = MAME\r\n");
        WriteBytes(Config(t, "kbfavFIGHT.cfg"), "name = FIGHT\r\ndescription =Beat them\r\n");
        WriteBytes(Config(t, "kbfavFIGHT.map"), "");
        t.WriteSettings();
        t.app.Start();

        // One game added: the empty list is kept, then the list deleted with its game.
        ChooseOption(t, 1);
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Escape);
        const std::string map = ReadBytes(Config(t, "kbfavFIGHT.map"));
        const std::string rom = ReadBytes(Config(t, "kbfavFIGHT.rom"));
        QCOMPARE(SplitCrLf(map).size(), std::size_t{1});
        ChooseOption(t, 2);
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_1);
        QCOMPARE(Kabinet(t), std::string("# launcher\r\nemulators = mame\r\n"));
        auto versions = ListVersions(t.programDir, "FIGHT");
        QVERIFY(versions);
        QCOMPARE(versions.value().size(), std::size_t{2});
        QVERIFY(versions.value().back().deleted);

        for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
            t.messages.shown.clear();
            t.messages.answers.push_back(answer);
            ChooseOption(t, 0);
            t.Press(Qt::Key_1);
            QVERIFY(EnterNameAndDescription(t, "FIGHT", "New"));
            t.Press(Qt::Key_1);
            QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
            QCOMPARE(t.messages.shown.size(), std::size_t{1});
            const auto& box = t.messages.shown.front();
            QCOMPARE(box.buttons, MessageButtons::YesNo);
            QVERIFY2(box.text.contains(QStringLiteral(" was deleted on ")) &&
                         box.text.endsWith(QStringLiteral(" with 1 game. Bring its games back?")),
                     qPrintable(box.text));
            QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.cfg")),
                     std::string("name = FIGHT\r\ndescription =New\r\n"));
            const bool yes = answer == MessageAnswer::Yes;
            QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.map")), yes ? map : std::string());
            QCOMPARE(ReadBytes(Config(t, "kbfavFIGHT.rom")), yes ? rom : std::string());
            // Deleted again: kept whole, and offered again only with its games.
            ChooseOption(t, 2);
            t.Press(Qt::Key_1);
            t.Press(Qt::Key_1);
            QVERIFY(Kabinet(t).find("kbfav") == std::string::npos);
        }
        QVERIFY(t.messages.shown.front().text.startsWith(
            QStringLiteral("A list named FIGHT (New) was deleted on ")));
        QCOMPARE(ListVersions(t.programDir, "FIGHT").value().size(), std::size_t{4});
        t.messages.shown.clear();
        ChooseOption(t, 0);
        t.Press(Qt::Key_1);
        QVERIFY(EnterNameAndDescription(t, "FIGHT", ""));
        t.Press(Qt::Key_1);
        QVERIFY(t.messages.shown.empty());
        QVERIFY(!Exists(t.programDir + "/favorlog.txt"));
    }
};

QTEST_MAIN(CreateEditDeleteTest)
#include "create_edit_delete_test.moc"
