#include "app/twips.h"
#include "screens/editor/form7.h"
#include "support/test_app.h"

#include <QLabel>
#include <QTest>
#include <filesystem>

using namespace fav;
using namespace fav::test;

namespace {

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back(QStringLiteral("g%1").arg(i, 3, 10, QLatin1Char('0')).toStdString());
    }
    return lines;
}

QStringList Rows(const QAbstractItemView* view) {
    QStringList rows;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        rows << view->model()->index(row, 0).data().toString();
    }
    return rows;
}

int Selected(const QAbstractItemView* view) {
    const auto rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// The editor opened on a cabinet whose mame.map holds `games`, for the list FIGHT as the
// favourites menu hands it over. `map` is the list's map file; none is written when absent.
struct Editor {
    TestApp t;
    std::string mapPath = t.cabinetDir + "/config/kbfavFIGHT.map";
    std::string romPath = t.cabinetDir + "/config/kbfavFIGHT.rom";

    explicit Editor(const std::vector<std::string>& games,
                    const std::optional<std::string>& map = std::nullopt,
                    const std::string& name = " FIGHT", bool open = true) {
        t.WriteCabinet("emulators = mame kbfavFIGHT", games);
        t.WriteSettings();
        if (map) {
            WriteBytes(mapPath, *map);
        }
        t.app.shared.LauncherDir = t.cabinetDir;
        t.app.shared.CurrentListName = name;
        if (open) {
            Open();
        }
    }

    void Open() { t.windows().Show(FormId::Form7); }

    Form7* form() { return t.windows().Get<Form7>(FormId::Form7); }
    QAbstractItemView* list(const char* name) {
        return form()->findChild<QAbstractItemView*>(name);
    }
    QString label(const char* name) { return form()->findChild<QLabel*>(name)->text(); }
    bool shown(const char* name) { return form()->findChild<QLabel*>(name)->isVisible(); }
    bool errorShown() { return t.windows().IsVisible(FormId::Form5); }
};

// Both action buttons at once, as a cabinet's player presses them.
void PressBoth(Form7* form) {
    QWidget* focused = form->focusWidget();
    QTest::keyPress(focused, Qt::Key_Control);
    QTest::keyPress(focused, Qt::Key_Alt);
    QTest::keyRelease(focused, Qt::Key_Alt);
    QTest::keyRelease(focused, Qt::Key_Control);
}

// The games of a cabinet with category files: a folder list beside the program, and beside
// mame.map (its folder spelled otherwise) catver.ini and two files that are no such lists.
const std::vector<std::string> CategoryGames = {
    "1942 \"1942 (Revision B)\"", "xevious \"Xevious\"", "sf2 \"Street Fighter II\"",
    "sf2ce \"SF II CE\"",         "pacman \"Pac-Man\"",  "adult \"Adult game\"",
    "galaga \"Galaga\"",          "mk \"Mortal Kombat\""};

void WriteCategoryFiles(const TestApp& t) {
    std::filesystem::create_directories(t.programDir + "/folders");
    std::filesystem::create_directories(t.configDir + "/FOLDERS");
    WriteBytes(t.programDir + "/folders/players.ini",
               "[FOLDER_SETTINGS]\r\nRootFolderIcon mame\r\n\r\n[1_Player]\r\npacman\r\ngalaga\r\n"
               "1942\r\nxevious\r\n[2_Players]\r\nsf2\r\nsf2ce\r\nmk\r\n");
    WriteBytes(t.configDir + "/FOLDERS/catver.ini",
               "[Category]\r\n1942=Shooter / Flying Vertical\r\nxevious=Shooter / Flying "
               "Vertical\r\nsf2=Fighter / Versus\r\nsf2ce=Fighter / Versus\r\nmk=Fighter / "
               "Versus\r\nadult=Shooter / Gallery * Mature *\r\npacman=Maze / Collect "
               "Dots\r\ngalaga=Shooter / Gallery\r\n[VerAdded]\r\n1942=.37b5\r\n");
    WriteBytes(t.configDir + "/FOLDERS/broken.ini", std::string("\0\x01\x02", 3));
    WriteBytes(t.configDir + "/FOLDERS/empty.ini", "[ROOT_FOLDER]\r\n");
}

int LogLinesWith(const TestApp& t, const std::string& text) {
    const std::string log = ReadBytes(t.programDir + "/favorlog.txt");
    int lines = 0;
    for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) {
        ++lines;
    }
    return lines;
}

} // namespace

class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void controlsStandAtTheirDesignPlaces() {
        Editor e({"pacman"});
        QCOMPARE(e.form()->windowTitle(), QStringLiteral("Edit Game List:  FIGHT"));
        const struct {
            const char* name;
            const char* text;
            int left, top, width, height;
            bool bold;
        } labels[] = {
            {"Label1", "Mame Games List", 120, 0, 1800, 255, true},
            {"Label10", "Total # games=", 1920, 0, 1335, 255, false},
            {"Label2", " FIGHT", 5520, 0, 1335, 375, false},
            {"Label7", "   Add selected     game          to ", 4080, 3120, 975, 975, true},
            {"Label8", "   Remove        selected           game              from", 3960, 3120,
             1335, 975, true},
            {"Label3",
             "Use Joystick left and right to choose menu. Use joystick up and down to choose item "
             "within selected menu.",
             480, 6210, 8295, 495, true},
            {"Label15", "Use Player 1 action buttons to page up or down.", 360, 6750, 8415, 255,
             true},
        };
        for (const auto& l : labels) {
            auto* label = e.form()->findChild<QLabel*>(l.name);
            QVERIFY2(label != nullptr, l.name);
            QCOMPARE(label->text(), QString::fromLatin1(l.text));
            QCOMPARE(label->geometry(), QRect(TwipsToPixels(l.left), TwipsToPixels(l.top),
                                              TwipsToPixels(l.width), TwipsToPixels(l.height)));
            QCOMPARE(label->font().bold(), l.bold);
            if (l.bold) {
                QCOMPARE(label->font().pointSizeF(), 9.75);
            }
        }
        QCOMPARE(e.list("List2")->geometry(), QRect(TwipsToPixels(5520), TwipsToPixels(360),
                                                    TwipsToPixels(3495), TwipsToPixels(5520)));
        QVERIFY(e.shown("Label7") && !e.shown("Label8"));

        // A larger window keeps the design centred in it.
        e.form()->resize(TwipsToPixels(15000), TwipsToPixels(12000));
        const auto* frame = e.form()->findChild<QWidget*>("Frame1");
        const QSize design = ScaledRect(QRect(QPoint(), e.form()->DesignSize()), 1.0).size();
        QVERIFY(std::abs(frame->x() - (e.form()->width() - design.width()) / 2) <= 1);
        QVERIFY(std::abs(frame->y() - (e.form()->height() - design.height()) / 2) <= 1);
    }

    void aNewListSavesTwoEmptyFilesNamedByTheKey() {
        Editor e({"pacman", "", " spaced", "galaga"});
        QCOMPARE(e.label("Label11"), QStringLiteral("4"));
        QCOMPARE(e.label("Label13"), QStringLiteral("0"));
        QVERIFY(Exists(e.mapPath));
        e.t.Press(Qt::Key_Escape);
        QCOMPARE(ReadBytes(e.mapPath), std::string());
        QCOMPARE(ReadBytes(e.romPath), std::string());
        QVERIFY(!e.t.windows().IsLoaded(FormId::Form7));
        QVERIFY(e.t.windows().IsVisible(FormId::Form2));
    }

    void anUnsortedMapIsShownAndSavedSorted() {
        Editor e({"pacman"}, "zeta \"Z\"\r\nAlpha\r\nbeta\r\n");
        QCOMPARE(Rows(e.list("List2")), QStringList({"Alpha", "beta", "zeta \"Z\""}));
        QCOMPARE(Selected(e.list("List2")), 0);
        e.t.Press(Qt::Key_Escape);
        QCOMPARE(ReadBytes(e.mapPath), std::string("Alpha\r\nbeta\r\nzeta \"Z\"\r\n"));
        QCOMPARE(ReadBytes(e.romPath), std::string("Alpha\r\nbeta\r\nzeta\r\n"));
    }

    void aGameAddedTwiceIsMarkedAndSavedTwice() {
        Editor e({"pacman \"Pac\"", "mk \"Mortal\""});
        e.t.Press(Qt::Key_1, 2);
        QCOMPARE(Rows(e.list("List2")), QStringList({"mk \"Mortal\"", "mk \"Mortal\""}));
        QCOMPARE(e.label("Label13"), QStringLiteral("2"));
        QCOMPARE(Selected(e.list("List1")), 0);
        const auto* games = e.list("List1")->model();
        QVERIFY(!games->index(0, 0).data(Qt::DecorationRole).isNull());
        QVERIFY(games->index(1, 0).data(Qt::DecorationRole).isNull());
        e.t.Press(Qt::Key_Escape);
        QCOMPARE(ReadBytes(e.mapPath), std::string("mk \"Mortal\"\r\nmk \"Mortal\"\r\n"));
        QCOMPARE(ReadBytes(e.romPath), std::string("mk\r\nmk\r\n"));
    }

    void addingToAnEmptyListSelectsNothingThereUntilUpOrDown() {
        Editor e({"b", "a"});
        e.t.Press(Qt::Key_1);
        QCOMPARE(Selected(e.list("List2")), -1);
        e.t.Press(Qt::Key_Right);
        e.t.Press(Qt::Key_1);
        QCOMPARE(e.label("Label13"), QStringLiteral("1"));
        e.t.Press(Qt::Key_Down);
        QCOMPARE(Selected(e.list("List2")), 0);
        e.t.Press(Qt::Key_1);
        QCOMPARE(e.label("Label13"), QStringLiteral("0"));
        QCOMPARE(e.form()->panes().favourites().selected(), SortedPane::NoSelection);
    }

    void removingTheLastEntrySelectsTheNewLast() {
        Editor e({"x"}, "a\r\nb\r\nc\r\n");
        e.t.Press(Qt::Key_Left);
        e.t.Press(Qt::Key_Control);
        QCOMPARE(Selected(e.list("List2")), 2);
        e.t.Press(Qt::Key_1);
        QCOMPARE(Selected(e.list("List2")), 1);
        QCOMPARE(e.label("Label13"), QStringLiteral("2"));
    }

    void leftAndRightBothSwitchPanesKeepingSelections() {
        Editor e(Numbered(100), "a\r\nb\r\n");
        e.t.Press(Qt::Key_Control);
        QCOMPARE(Selected(e.list("List1")), 27);
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right}) {
            e.t.Press(key);
            QVERIFY(e.list("List2")->isEnabled() && !e.list("List1")->isEnabled());
            QCOMPARE(e.form()->focusWidget(), e.list("List2"));
            QVERIFY(e.shown("Label8") && !e.shown("Label7"));
            e.t.Press(Qt::Key_Down);
            e.t.Press(key);
            QVERIFY(e.list("List1")->isEnabled() && !e.list("List2")->isEnabled());
            QVERIFY(e.shown("Label7") && !e.shown("Label8"));
        }
        QCOMPARE(Selected(e.list("List1")), 27);
        QCOMPARE(Selected(e.list("List2")), 1);
        e.t.Press(Qt::Key_Alt);
        QCOMPARE(Selected(e.list("List1")), 0);
    }

    void aHeldActionButtonRepeatsByItselfAndNotByTheSystemsRepeats() {
        Editor e(Numbered(1000));
        std::int64_t now = 0;
        e.form()->SetClock([&now] { return now; });
        QAbstractItemView* pane = e.list("List1");
        QTest::keyPress(pane, Qt::Key_Control);
        QCOMPARE(Selected(pane), 27);
        for (int i = 0; i < 3; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, QString(),
                             true);
            QCoreApplication::sendEvent(pane, &repeat);
        }
        QCOMPARE(Selected(pane), 27);
        now = 399;
        e.form()->RepeatPaging();
        QCOMPARE(Selected(pane), 27);
        now = 500;
        e.form()->RepeatPaging();
        QCOMPARE(Selected(pane), 27 + 3 * 27);
        QCOMPARE(e.form()->panes().games().selected(), 108);
        QTest::keyRelease(pane, Qt::Key_Control);
        now = 5000;
        e.form()->RepeatPaging();
        QCOMPARE(Selected(pane), 108);

        // And on the program's own timer.
        e.form()->SetClock(nullptr);
        QTest::keyPress(pane, Qt::Key_Alt);
        QCOMPARE(Selected(pane), 81);
        QTRY_VERIFY(Selected(pane) <= 54);
        QTest::keyRelease(pane, Qt::Key_Alt);
    }

    void bothActionButtonsOpenAJumpPanelInEitherPane() {
        std::vector<std::string> games = Numbered(60);
        games.insert(games.end(), {"zzz", "sf2ce", "sf2 \"SF II\"", "sf \"SF\"", "pacman", "mk",
                                   "Gals", "galaga", "10yard"});
        Editor e(games, "sf2 \"SF II\"\r\npacman\r\n");
        QAbstractItemView* pane = e.list("List1");
        const auto* panel = e.form()->findChild<QWidget*>("JumpPanel");
        const auto* prefix = e.form()->findChild<QLabel*>("JumpPrefix");
        auto both = [&](Qt::Key first, Qt::Key second) {
            QWidget* focused = e.form()->focusWidget();
            QTest::keyPress(focused, first);
            QTest::keyPress(focused, second);
            QTest::keyRelease(focused, second);
            QTest::keyRelease(focused, first);
        };
        auto keys = [&](const std::vector<Qt::Key>& sequence) {
            for (Qt::Key key : sequence) {
                e.t.Press(key);
            }
        };
        using K = Qt::Key;

        both(Qt::Key_Control, Qt::Key_Alt);
        QVERIFY(e.form()->JumpPanelOpen() && panel->isVisible());
        QCOMPARE(Selected(pane), 27);
        QCOMPARE(prefix->text(), QStringLiteral("_"));
        QVERIFY(e.form()->findChild<QLabel*>("JumpKeyA")->isEnabled());
        QVERIFY(!e.form()->findChild<QLabel*>("JumpKeyB")->isEnabled());
        QVERIFY(panel->geometry().left() > pane->geometry().right());

        keys({K::Key_Down, K::Key_Down, K::Key_1});
        QCOMPARE(Selected(pane), 65);
        keys({K::Key_Up, K::Key_Up, K::Key_Right, K::Key_Right, K::Key_Right, K::Key_Right,
              K::Key_Right, K::Key_1, K::Key_Down, K::Key_Down, K::Key_Down, K::Key_Left,
              K::Key_Left, K::Key_Left, K::Key_1});
        QCOMPARE(prefix->text(), QStringLiteral("SF2_"));
        QCOMPARE(Selected(pane), 66);
        QVERIFY(e.form()->findChild<QLabel*>("JumpKey2")->isEnabled());
        e.t.Press(Qt::Key_Control);
        QCOMPARE(prefix->text(), QStringLiteral("SF_"));
        QCOMPARE(Selected(pane), 65);
        e.t.Press(Qt::Key_Alt);
        QCOMPARE(prefix->text(), QStringLiteral("S_"));

        keys({K::Key_Tab, K::Key_A, K::Key_Return, K::Key_Space, K::Key_PageDown});
        QCOMPARE(Selected(pane), 65);
        QCOMPARE(e.form()->focusWidget(), pane);
        QCOMPARE(e.label("Label13"), QStringLiteral("2"));
        e.t.Press(Qt::Key_Escape);
        QVERIFY(!e.form()->JumpPanelOpen() && !panel->isVisible());
        QVERIFY(e.t.windows().IsVisible(FormId::Form7));
        QCOMPARE(Selected(pane), 65);
        QCOMPARE(ReadBytes(e.mapPath), std::string("sf2 \"SF II\"\r\npacman\r\n"));
        e.t.Press(Qt::Key_Alt);
        QCOMPARE(Selected(pane), 38);

        // In the favourites pane the panel stands over the games.
        e.t.Press(Qt::Key_Right);
        both(Qt::Key_Alt, Qt::Key_Control);
        QCOMPARE(Selected(e.list("List2")), 0);
        QVERIFY(panel->geometry().right() < e.list("List2")->geometry().left());
        QCOMPARE(prefix->text(), QStringLiteral("_"));
        keys({K::Key_Down, K::Key_Down, K::Key_1});
        QCOMPARE(Selected(e.list("List2")), 1);
        QCOMPARE(Selected(pane), 38);
        e.t.Press(Qt::Key_Alt);
        QCOMPARE(Selected(e.list("List2")), 0);
        e.t.Press(Qt::Key_Escape);
        e.t.Press(Qt::Key_1);
        QCOMPARE(e.label("Label13"), QStringLiteral("1"));
    }

    void categoryFilesChooseTheGamesShownAndTheChoiceIsKept() {
        Editor e(CategoryGames, "pacman \"Pac-Man\"\r\n", " FIGHT", false);
        WriteCategoryFiles(e.t);
        e.Open();
        QAbstractItemView* pane = e.list("List1");
        QCOMPARE(e.label("FilterName"), QStringLiteral("All games"));
        QCOMPARE(e.label("Shown"), QStringLiteral("Shown: 8"));

        // Both action buttons open the jump panel; both again the filter panel in its place.
        PressBoth(e.form());
        QVERIFY(e.form()->JumpPanelOpen());
        PressBoth(e.form());
        QVERIFY(!e.form()->JumpPanelOpen() && e.form()->FilterPanelOpen());
        const QStringList expected = {QStringLiteral("\u00bb All games"),
                                      QStringLiteral("players: 1 Player"),
                                      QStringLiteral("players: 2 Players"),
                                      QStringLiteral("Fighter"),
                                      QStringLiteral("Maze"),
                                      QStringLiteral("Shooter"),
                                      QStringLiteral("Hide mature games: No"),
                                      QStringLiteral("Add every shown game to the list")};
        const QStringList counts = {"8", "4", "3", "3", "1", "4", "", "7"};
        for (int row = 0; row < expected.size(); ++row) {
            QCOMPARE(e.label(QStringLiteral("FilterLine%1").arg(row).toLatin1()), expected[row]);
            QCOMPARE(e.label(QStringLiteral("FilterCount%1").arg(row).toLatin1()), counts[row]);
        }
        QVERIFY(!e.shown("FilterNoFiles"));

        // Up and down move, ESC leaves everything as it was.
        e.t.Press(Qt::Key_Down, 2);
        e.t.Press(Qt::Key_Escape);
        QVERIFY(!e.form()->FilterPanelOpen() && e.t.windows().IsVisible(FormId::Form7));
        QCOMPARE(pane->model()->rowCount(), 8);

        // A genre: its games only, in order; mame.map's own count stays.
        PressBoth(e.form());
        PressBoth(e.form());
        e.t.Press(Qt::Key_Up, 3); // round to the genres' end
        e.t.Press(Qt::Key_1);
        QVERIFY(!e.form()->FilterPanelOpen());
        QCOMPARE(Rows(pane), (QStringList{"1942 \"1942 (Revision B)\"", "adult \"Adult game\"",
                                          "galaga \"Galaga\"", "xevious \"Xevious\""}));
        QCOMPARE(Selected(pane), 0);
        QCOMPARE(e.label("FilterName"), QStringLiteral("Shooter"));
        QCOMPARE(e.label("Shown"), QStringLiteral("Shown: 4"));
        QCOMPARE(e.label("Label11"), QStringLiteral("8"));
        // The jump panel finds within them: its A is "adult".
        PressBoth(e.form());
        e.t.Press(Qt::Key_1);
        e.t.Press(Qt::Key_Escape);
        QCOMPARE(Selected(pane), 1);

        // Mature games hidden, then every shown game added after the question.
        PressBoth(e.form());
        PressBoth(e.form());
        QCOMPARE(e.form()->filterPanel().cursor(), 5);
        e.t.Press(Qt::Key_Down);
        e.t.Press(Qt::Key_1);
        QCOMPARE(e.label("FilterLine6"), QStringLiteral("Hide mature games: Yes"));
        QCOMPARE(e.label("FilterCount5"), QStringLiteral("3"));
        e.t.Press(Qt::Key_Up);
        e.t.Press(Qt::Key_1);
        QCOMPARE(Rows(pane).size(), 3);
        QCOMPARE(e.label("Shown"), QStringLiteral("Shown: 3"));
        e.t.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
        for (int answer = 0; answer < 2; ++answer) {
            PressBoth(e.form());
            PressBoth(e.form());
            e.t.Press(Qt::Key_Down, 2); // past the mature line from the genre in use
            e.t.Press(Qt::Key_1);
        }
        QCOMPARE(e.t.messages.shown.size(), 2U);
        QCOMPARE(e.t.messages.shown.back().text,
                 QStringLiteral("Add the 3 shown games that are not yet in FIGHT?"));
        QCOMPARE(e.label("Label13"), QStringLiteral("4"));
        e.t.Press(Qt::Key_Escape);
        QCOMPARE(ReadBytes(e.mapPath),
                 std::string("1942 \"1942 (Revision B)\"\r\ngalaga \"Galaga\"\r\npacman "
                             "\"Pac-Man\"\r\nxevious \"Xevious\"\r\n"));

        // The next opening shows the same games; each skipped file was logged once.
        e.Open();
        QCOMPARE(e.label("FilterName"), QStringLiteral("Shooter"));
        QCOMPARE(Rows(e.list("List1")).size(), 3);
        QCOMPARE(LogLinesWith(e.t, "broken: not a category file (binary)"), 1);
        QCOMPARE(LogLinesWith(e.t, "empty: no names, skipped"), 1);
    }

    void withoutCategoryFilesThePanelSaysWhereTheyGo() {
        Editor e({"b", "a", "a"}, "a\r\n");
        PressBoth(e.form());
        PressBoth(e.form());
        QVERIFY(e.shown("FilterNoFiles"));
        QCOMPARE(e.form()->filterPanel().size(), 2);
        QVERIFY(!e.shown("FilterLine2"));
        // Adding every game: "b" only, once; nothing is asked when none is left.
        e.t.Press(Qt::Key_Down);
        e.t.Press(Qt::Key_1);
        QCOMPARE(e.label("Label13"), QStringLiteral("2"));
        PressBoth(e.form());
        PressBoth(e.form());
        e.t.Press(Qt::Key_Down);
        e.t.Press(Qt::Key_1);
        QCOMPARE(e.t.messages.shown.back().buttons, MessageButtons::Ok);
        QCOMPARE(e.label("Label13"), QStringLiteral("2"));
    }

    void addingEveryShownGameStopsAtTheListsLimitAndSaysSo() {
        std::string full;
        for (int i = 0; i < MaxGameLines - 1; ++i) {
            full += "y\r\n";
        }
        Editor e({"c", "a", "b", "a"}, full);
        PressBoth(e.form());
        PressBoth(e.form());
        e.t.Press(Qt::Key_Up);
        e.t.Press(Qt::Key_1);
        QCOMPARE(e.t.messages.shown.size(), 2U);
        QCOMPARE(e.t.messages.shown[0].text,
                 QStringLiteral("Add the 3 shown games that are not yet in FIGHT?"));
        QCOMPARE(e.t.messages.shown[1].text,
                 QStringLiteral("FIGHT is full: a list holds at most 32,767 games. 1 of the 3 "
                                "games were added."));
        QCOMPARE(e.form()->panes().favourites().size(), MaxGameLines);
        QVERIFY(e.form()->panes().InFavourites("a"));
        QVERIFY(!e.form()->panes().InFavourites("b"));
    }

    void theActivePanesSelectedEntryIsShownWholeUnderThePanes() {
        const std::string longLine =
            "sf2 \"Street Fighter II: The World Warrior (World 910522)\" " + std::string(60, 'x');
        Editor e({"pacman \"Pac-Man (Midway)\"", longLine}, "galaga \"Galaga\"\r\n");
        QCOMPARE(e.label("Label16"), QStringLiteral("pacman \"Pac-Man (Midway)\""));
        e.t.Press(Qt::Key_Down);
        QCOMPARE(e.label("Label16"), QString::fromStdString(longLine));
        e.t.Press(Qt::Key_Right);
        QCOMPARE(e.label("Label16"), QStringLiteral("galaga \"Galaga\""));
        e.t.Press(Qt::Key_1); // the list's only game goes: nothing is selected there
        QCOMPARE(e.label("Label16"), QString());
        e.t.Press(Qt::Key_Left);
        QCOMPARE(e.label("Label16"), QString::fromStdString(longLine));
        e.t.Press(Qt::Key_Alt); // paging shows the entry paged to
        QCOMPARE(e.label("Label16"), QStringLiteral("pacman \"Pac-Man (Midway)\""));
        // One line as wide as the whole frame, wider than either pane.
        const auto* line = e.form()->findChild<QLabel*>("Label16");
        QCOMPARE(line->width(), e.form()->findChild<QWidget*>("Frame1")->width());
        QVERIFY(line->height() < 2 * line->fontMetrics().height());
    }

    void typedCharactersMoveNothingButUpAndDownDo() {
        Editor e({"apple", "banana", "cherry", "2zz"});
        for (Qt::Key key : {Qt::Key_C, Qt::Key_B, Qt::Key_2, Qt::Key_Z}) {
            e.t.Press(key);
        }
        QCOMPARE(Selected(e.list("List1")), 0);
        e.t.Press(Qt::Key_Down, 2);
        e.t.Press(Qt::Key_Up);
        QCOMPARE(Selected(e.list("List1")), 1);
        QCOMPARE(e.form()->panes().games().selected(), 1);
    }

    void aFailedLoadLeavesTheListFilesAlone_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("mameMap");
        QTest::addColumn<QByteArray>("map");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("description");
        const QByteArray games = "a\r\nb\r\nc\r\n";
        const QByteArray old = "old\r\n";
        QTest::newRow("mame.map missing")
            << QByteArray(" FIGHT") << QByteArray() << old << 53 << QString();
        QTest::newRow("mame.map no game list")
            << QByteArray(" FIGHT") << QByteArray(1'000'001, '\r') << old << 6
            << QStringLiteral("has more than 1,000,000 lines");
        QTest::newRow("map file of 32,768 games")
            << QByteArray(" FIGHT") << games << QByteArray("g\r\n").repeated(32768) << 6
            << QStringLiteral("kbfavFIGHT.map has more than 32,767 lines");
        QTest::newRow("map file a folder")
            << QByteArray(" FIGHT") << games << QByteArray() << 75 << QString();
        QTest::newRow("key leaving config")
            << QByteArray(" ../FIGHT") << games << old << 75 << QString();
    }

    void aFailedLoadLeavesTheListFilesAlone() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, mameMap);
        QFETCH(QByteArray, map);
        QFETCH(int, code);
        QFETCH(QString, description);
        const std::string old = "old\r\n";
        Editor e({}, std::nullopt, name.toStdString(), false);
        const std::string mameMapPath = e.t.configDir + "/mame.map";
        if (mameMap.isEmpty()) {
            std::filesystem::remove(mameMapPath);
        } else {
            WriteBytes(mameMapPath, mameMap.toStdString());
        }
        if (map.isEmpty()) {
            std::filesystem::create_directory(e.mapPath);
        } else {
            WriteBytes(e.mapPath, map.toStdString());
        }
        WriteBytes(e.romPath, old);
        e.Open();

        QVERIFY(e.errorShown());
        QCOMPARE(e.t.app.CurrentFailure().code, code);
        QVERIFY(QString::fromStdString(e.t.app.CurrentFailure().description).endsWith(description));
        e.t.windows().Unload(FormId::Form5);
        QCOMPARE(e.t.windows().ActiveForm(), e.form());
        QVERIFY(!e.t.windows().IsLoaded(FormId::Form5));
        e.t.Press(Qt::Key_1);
        QCOMPARE(e.form()->panes().favourites().size(), 0);
        e.t.Press(Qt::Key_Escape);
        QVERIFY(!e.t.windows().IsLoaded(FormId::Form7));
        QVERIFY(e.t.windows().IsVisible(FormId::Form2));
        QCOMPARE(ReadBytes(e.romPath), old);
        if (!map.isEmpty()) {
            QCOMPARE(ReadBytes(e.mapPath), map.toStdString());
        }
    }

    void aCurrentMameListOpensWholeAndItsLastGamesCanBeSaved() {
        // As many machines as MAME 0.251 lists, in order.
        std::vector<std::string> games;
        for (int i = 0; i < 45294; ++i) {
            games.push_back(
                QStringLiteral("g%1 \"Game\"").arg(i, 5, 10, QLatin1Char('0')).toStdString());
        }
        Editor e(games);
        QVERIFY(!e.errorShown());
        QCOMPARE(e.label("Label11"), QStringLiteral("45294"));
        QCOMPARE(e.list("List1")->model()->rowCount(), 45294);

        // A held action button reaches the last game.
        std::int64_t now = 0;
        e.form()->SetClock([&now] { return now; });
        QAbstractItemView* pane = e.list("List1");
        QTest::keyPress(pane, Qt::Key_Control);
        now = 20000;
        e.form()->RepeatPaging();
        QTest::keyRelease(pane, Qt::Key_Control);
        QCOMPARE(Selected(pane), 45293);
        e.t.Press(Qt::Key_1);
        // The jump panel finds one past line 40,000.
        QTest::keyPress(pane, Qt::Key_Control);
        QTest::keyPress(pane, Qt::Key_Alt);
        QTest::keyRelease(pane, Qt::Key_Alt);
        QTest::keyRelease(pane, Qt::Key_Control);
        QVERIFY(e.form()->JumpPanelOpen());
        const auto type = [&](int down, int right) {
            e.t.Press(Qt::Key_Up, 3);
            e.t.Press(Qt::Key_Left, 9);
            e.t.Press(Qt::Key_Down, down);
            e.t.Press(Qt::Key_Right, right);
            e.t.Press(Qt::Key_1);
        };
        type(0, 6); // G
        type(3, 4); // 4
        type(3, 2); // 2
        type(3, 1); // 1
        e.t.Press(Qt::Key_Escape);
        QCOMPARE(Selected(pane), 42100);
        e.t.Press(Qt::Key_1);
        QCOMPARE(e.label("Label13"), QStringLiteral("2"));

        e.t.Press(Qt::Key_Escape);
        QVERIFY(!e.t.windows().IsLoaded(FormId::Form7));
        QCOMPARE(ReadBytes(e.mapPath), std::string("g42100 \"Game\"\r\ng45293 \"Game\"\r\n"));
        QCOMPARE(ReadBytes(e.romPath), std::string("g42100\r\ng45293\r\n"));
    }
};

QTEST_MAIN(EditorTest)
#include "editor_test.moc"
