#include "flows/flow_helpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QTest>

using namespace fav;
using namespace fav::test;

namespace {

// X repeats a held key about 25 times a second: two seconds of holding.
constexpr int TwoSeconds = 50;

const std::vector<std::string> Games = {
    "sf2 \"Street Fighter II: The World Warrior\"",
    "pacman \"Pac-Man (Midway)\"",
    "dkong \"Donkey Kong (US set 1)\"",
    "1942 \"1942 (Revision B)\"",
};

// The menu over a cabinet with the lists FIGHT and RACE, FIGHT's map holding one game.
void StartOnMenu(TestApp& t) {
    t.WriteCabinet("emulators = mame kbfavFIGHT kbfavRACE", Games);
    for (const char* list : {"FIGHT", "RACE"}) {
        WriteBytes(t.cabinetDir + "/config/kbfav" + list + ".cfg", "name = x\r\n");
        WriteBytes(t.cabinetDir + "/config/kbfav" + list + ".map", "");
        WriteBytes(t.cabinetDir + "/config/kbfav" + list + ".rom", "");
    }
    t.WriteSettings();
    t.app.Start();
}

int Rows(TestApp& t, FormId id, const char* name) {
    auto* view = Control<QAbstractItemView>(t, id, name);
    return view == nullptr ? -1 : view->model()->rowCount();
}

} // namespace

class CabinetKeysTest : public QObject {
    Q_OBJECT

private slots:
    // Holding Start on the menu's Delete opens the delete screen and nothing more, however long
    // it is held; only a new press deletes.
    void heldStartOpensTheDeleteScreenButNeverConfirms() {
        TestApp t;
        StartOnMenu(t);
        const auto before = Snapshot(t.cabinetDir);
        t.Press(Qt::Key_Right);
        t.Press(Qt::Key_Down, 2);
        t.Hold(Qt::Key_1, TwoSeconds);
        TestApp::Settle();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form6));
        QCOMPARE(Snapshot(t.cabinetDir), before);
        // Still held when the screen came: a new press only after the release.
        t.Release(Qt::Key_1);
        t.Hold(Qt::Key_1, TwoSeconds);
        TestApp::Settle();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Rows(t, FormId::Form2, "List1"), 1);
        QVERIFY(t.app.CurrentFailure().code == 0);
    }

    // ESC held on the delete screen goes back to the menu, which then does not end the program.
    void heldEscapeLeavesOneScreenOnly() {
        TestApp t;
        StartOnMenu(t);
        t.Press(Qt::Key_Right);
        t.Press(Qt::Key_Down, 2);
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form6));
        t.Hold(Qt::Key_Escape, TwoSeconds);
        TestApp::Settle();
        QVERIFY(!t.ended);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form2));
        QCOMPARE(Rows(t, FormId::Form2, "List1"), 2);
        t.Release(Qt::Key_Escape);
        t.Press(Qt::Key_Escape);
        QVERIFY(t.ended);
    }

    // Start held on Edit opens the editor without adding anything; a held Start in the editor
    // adds one game; the joystick and the action buttons keep repeating.
    void heldStartAddsOneGameAndTheJoystickRepeats() {
        TestApp t;
        StartOnMenu(t);
        t.Press(Qt::Key_1);
        t.Hold(Qt::Key_1, TwoSeconds);
        TestApp::Settle();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        QCOMPARE(Rows(t, FormId::Form7, "List2"), 0);
        t.Release(Qt::Key_1);

        auto* games = Control<QListView>(t, FormId::Form7, "List1");
        t.Hold(Qt::Key_Down, 2);
        t.Release(Qt::Key_Down);
        QCOMPARE(SelectedRow(games), 3);
        t.Hold(Qt::Key_Up, 1);
        t.Release(Qt::Key_Up);
        QCOMPARE(SelectedRow(games), 1);

        t.Hold(Qt::Key_1, TwoSeconds);
        t.Release(Qt::Key_1);
        QCOMPARE(Rows(t, FormId::Form7, "List2"), 1);

        // Paging with a held action button repeats too (the program's own repeating aside).
        t.Hold(Qt::Key_Control, 2);
        t.Release(Qt::Key_Control);
        QCOMPARE(SelectedRow(games), 3);
    }

    // "Done" held on the keyboard opens the verify screen; the held Start neither answers Yes
    // there nor comes back to the keyboard.
    void heldStartOnDoneStopsAtTheVerifyScreen() {
        TestApp t;
        StartOnMenu(t);
        const auto before = Snapshot(t.cabinetDir);
        t.Press(Qt::Key_Right);
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form3));
        t.Press(Qt::Key_1);  // A
        t.Press(Qt::Key_Up); // Done
        t.Press(Qt::Key_1);  // the name; on to the description
        t.Press(Qt::Key_Up);
        t.Hold(Qt::Key_1, TwoSeconds);
        TestApp::Settle();
        QCOMPARE(VisibleScreens(t), Only(FormId::Form4));
        QCOMPARE(Snapshot(t.cabinetDir), before);
    }

    // A key that was down before the screen came does nothing there until it is released, even
    // a joystick direction, which otherwise repeats.
    void aKeyDownWhenTheScreenCameWaitsForItsRelease() {
        TestApp t;
        StartOnMenu(t);
        auto* lists = Control<QListWidget>(t, FormId::Form2, "List1");
        t.Hold(Qt::Key_Down); // down to RACE
        QCOMPARE(SelectedRow(lists), 1);
        t.app.shared.CurrentListName = " RACE";
        t.windows().Show(FormId::Form6); // a screen comes while Down is held
        t.Send(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, true);
        QCOMPARE(Text(t, FormId::Form6, "Label1"), QStringLiteral("Warning!"));
        t.Hold(Qt::Key_Up, 1);
        QCOMPARE(Text(t, FormId::Form6, "Label1"), QStringLiteral("38"));
        t.Release(Qt::Key_Up);
        t.Release(Qt::Key_Down);
        t.Hold(Qt::Key_Down, 1);
        QCOMPARE(Text(t, FormId::Form6, "Label1"), QStringLiteral("40"));
    }

    // Tab, Space, Return, letters and combinations change nothing in the editor: the games pane
    // keeps the keyboard and its selection, so the joystick and Start go on working.
    void keysTheCabinetLacksChangeNothingInTheEditor() {
        TestApp t;
        StartOnMenu(t);
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_1);
        QCOMPARE(VisibleScreens(t), Only(FormId::Form7));
        auto* games = Control<QListView>(t, FormId::Form7, "List1");
        t.Press(Qt::Key_Down);
        QCOMPARE(SelectedRow(games), 1);
        QCOMPARE(games->window()->focusWidget(), games);

        const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
            {Qt::Key_Tab, Qt::NoModifier},      {Qt::Key_Backtab, Qt::ShiftModifier},
            {Qt::Key_Space, Qt::NoModifier},    {Qt::Key_Space, Qt::ControlModifier},
            {Qt::Key_Return, Qt::NoModifier},   {Qt::Key_A, Qt::NoModifier},
            {Qt::Key_Home, Qt::NoModifier},     {Qt::Key_End, Qt::NoModifier},
            {Qt::Key_PageDown, Qt::NoModifier}, {Qt::Key_A, Qt::ControlModifier},
            {Qt::Key_Shift, Qt::ShiftModifier}, {Qt::Key_Exclam, Qt::ShiftModifier},
        };
        for (const auto& [key, modifiers] : keys) {
            t.Send(QEvent::KeyPress, key, modifiers, false);
            t.Send(QEvent::KeyRelease, key, modifiers, false);
            QCOMPARE(games->window()->focusWidget(), games);
            QCOMPARE(SelectedRow(games), 1);
            QCOMPARE(Rows(t, FormId::Form7, "List2"), 0);
        }
        // A click with Ctrl held on the selected game leaves it selected.
        const QRect row = games->visualRect(games->model()->index(1, 0));
        QTest::mouseClick(games->viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
        QCOMPARE(SelectedRow(games), 1);
        // Down with an action button held is still Down.
        t.Send(QEvent::KeyPress, Qt::Key_Down, Qt::ControlModifier, false);
        t.Send(QEvent::KeyRelease, Qt::Key_Down, Qt::ControlModifier, false);
        QCOMPARE(SelectedRow(games), 2);
        t.Press(Qt::Key_1);
        QCOMPARE(Rows(t, FormId::Form7, "List2"), 1);
    }
};

QTEST_MAIN(CabinetKeysTest)
#include "cabinet_keys_test.moc"
