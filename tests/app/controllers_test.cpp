// Game controllers drive the windows as the cabinet's keys do: a pad SDL knows and an encoder it
// does not, each through SDL's own virtual controllers, under the off-screen platform.

#include "app/arcade_key.h"
#include "app/controllers.h"
#include "app/test_pad.h"
#include "core/input/controller_mappings.h"
#include "screens/controls/controls_screen.h"
#include "screens/editor/form7.h"
#include "support/test_app.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <set>

using namespace fav;
using namespace fav::test;

namespace {

// The controls of one controller, in the words of the test pad.
struct Wiring {
    std::string attach;
    std::string down;    // pushes the joystick down
    std::string centre;  // lets it go
    std::string start;   // Player 1 Start, pressed
    std::string startUp; // and let go
    std::string exit;    // game exit, pressed
    std::string action1; // the action buttons, pressed
    std::string action2;
};

const Wiring KnownPad = {.attach = "attach known",
                         .down = "button 12 down",
                         .centre = "button 12 up",
                         .start = "button 6 down",
                         .startUp = "button 6 up",
                         .exit = "button 4 down",
                         .action1 = "button 0 down",
                         .action2 = "button 1 down"};
const Wiring Encoder = {.attach = "attach encoder",
                        .down = "hat down",
                        .centre = "hat centred",
                        .start = "button 9 down",
                        .startUp = "button 9 up",
                        .exit = "button 8 down",
                        .action1 = "button 0 down",
                        .action2 = "button 1 down"};

// The cabinet keys the screens are told are down: pressed and not yet let go.
class HeldKeys final : public QObject {
public:
    HeldKeys() { qApp->installEventFilter(this); }
    bool IsDown(int arcadeKey) const { return down_.count(arcadeKey) > 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            down_.insert(ArcadeKeyFromQt(*static_cast<QKeyEvent*>(event)));
        } else if (event->type() == QEvent::KeyRelease) {
            down_.erase(ArcadeKeyFromQt(*static_cast<QKeyEvent*>(event)));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::set<int> down_;
};

// A program whose controllers are heard, and one virtual controller to drive it with.
struct PadProgram {
    TestApp t;
    HeldKeys held;
    std::unique_ptr<Controllers> controllers = std::make_unique<Controllers>(t.app);
    TestPad pad{std::string()};

    // The favourites menu of a cabinet with the given emulators line.
    void AtMenu(const std::string& emulatorsLine) {
        t.WriteCabinet(emulatorsLine);
        t.app.shared.LauncherDir = t.cabinetDir;
        t.windows().Show(FormId::Form2);
    }

    // A read of the controllers, and the keys it sends delivered.
    void Poll() {
        controllers->Poll();
        QCoreApplication::sendPostedEvents(controllers.get(), QEvent::MetaCall);
    }

    // Each command, then what the program hears of it.
    void Do(std::initializer_list<std::string> commands) {
        for (const std::string& command : commands) {
            pad.Run(command);
            Poll();
        }
    }

    // Plugs the controller in. An encoder SDL does not know asks to be taught the first time;
    // leaving that from the keyboard keeps its usual wiring.
    void Attach(const std::string& command) {
        Do({command});
        if (t.windows().IsVisible(FormId::Controls)) {
            t.Press(Qt::Key_Escape);
        }
        QVERIFY(!t.windows().IsLoaded(FormId::Controls));
    }
};

QListWidget* List(WindowManager& windows, const char* name) {
    return windows.Find(FormId::Form2)->findChild<QListWidget*>(name);
}

} // namespace

class ControllersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PadProgram p;
        QVERIFY2(p.controllers->Listening(), "SDL's controller layer did not start");
    }

    void wiring_data() {
        QTest::addColumn<const Wiring*>("wiring");
        QTest::newRow("a pad SDL knows") << &KnownPad;
        QTest::newRow("an encoder it does not") << &Encoder;
    }

    void eachControllerDrivesTheMenuAsTheKeysDo_data() { wiring_data(); }
    void eachControllerDrivesTheMenuAsTheKeysDo() {
        QFETCH(const Wiring*, wiring);
        PadProgram p;
        p.AtMenu("emulators = mame kbfavFIGHT kbfavRACE kbfavPUZZLE");
        p.Attach(wiring->attach);
        QCOMPARE(p.controllers->Count(), 1);

        p.Do({wiring->down, wiring->centre});
        QCOMPARE(List(p.t.windows(), "List1")->currentRow(), 1);
        // Held over the options menu's coming: Start acts once, however long it is held.
        p.Do({wiring->start});
        QVERIFY(List(p.t.windows(), "List2")->isEnabled());
        const int option = List(p.t.windows(), "List2")->currentRow();
        QTest::qWait(600);
        p.Poll();
        QVERIFY(List(p.t.windows(), "List2")->isEnabled());
        QCOMPARE(List(p.t.windows(), "List2")->currentRow(), option);
        QVERIFY(!p.t.ended);
        // Game exit ends the program from the menu.
        p.Do({wiring->startUp, wiring->exit});
        QVERIFY(p.t.ended);
    }

    void aHeldDirectionRepeatsAndStopsWhenTheControllerIsUnplugged_data() { wiring_data(); }
    void aHeldDirectionRepeatsAndStopsWhenTheControllerIsUnplugged() {
        QFETCH(const Wiring*, wiring);
        PadProgram p;
        std::string lists = "emulators = mame";
        for (int list = 0; list < 18; ++list) {
            lists += " kbfavL" + std::to_string(list);
        }
        p.AtMenu(lists);
        p.Attach(wiring->attach);
        p.Do({wiring->down});
        // The first move at once, the next after the delay, then steadily.
        QCOMPARE(List(p.t.windows(), "List1")->currentRow(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(List(p.t.windows(), "List1")->currentRow() >= 4, 2000);
        p.Do({"detach"});
        QCOMPARE(p.controllers->Count(), 0);
        QVERIFY(!p.held.IsDown(ArcadeKey::Down));
        const int stopped = List(p.t.windows(), "List1")->currentRow();
        QTest::qWait(300);
        QCOMPARE(List(p.t.windows(), "List1")->currentRow(), stopped);
    }

    void bothActionButtonsOpenTheEditorsJumpPanel_data() { wiring_data(); }
    void bothActionButtonsOpenTheEditorsJumpPanel() {
        QFETCH(const Wiring*, wiring);
        PadProgram p;
        p.t.WriteCabinet("emulators = mame kbfavFIGHT");
        p.t.app.shared.LauncherDir = p.t.cabinetDir;
        p.t.app.shared.CurrentListName = " FIGHT";
        p.t.windows().Show(FormId::Form7);
        auto* editor = p.t.windows().Get<Form7>(FormId::Form7);
        QVERIFY(editor != nullptr);
        p.Attach(wiring->attach);
        p.Do({wiring->action1, wiring->action2});
        QVERIFY(editor->JumpPanelOpen());
    }

    void anUnknownEncoderIsTaughtFromItsOwnInputsOnce() {
        PadProgram p;
        p.AtMenu("emulators = mame kbfavFIGHT");
        p.Do({"attach encoder"});
        QVERIFY(p.t.windows().IsVisible(FormId::Controls));
        auto* screen = p.t.windows().Get<ControlsScreen>(FormId::Controls);
        auto text = [screen](const char* label) {
            return screen->findChild<QLabel*>(label)->text();
        };
        QCOMPARE(text("Prompt"), QStringLiteral("Push the joystick UP"));
        QCOMPARE(text("ControllerName"), QStringLiteral("Favorizer test encoder"));
        p.Do({"hat up", "hat centred"});
        QCOMPARE(text("Prompt"), QStringLiteral("Push the joystick DOWN"));
        p.Do({"hat up"});
        QCOMPARE(text("Note"), QStringLiteral("That is UP already: use another."));
        p.Do({"hat centred", "hat down", "hat centred", "axis 0 -30000", "axis 0 0", "hat right",
              "hat centred"});
        // Start on button 3, game exit on 2: not the usual wiring.
        p.Do({"button 3 down", "button 3 up", "button 2 down", "button 2 up"});
        QCOMPARE(text("Prompt"), QStringLiteral("Press ACTION BUTTON 1"));
        QCOMPARE(text("Note"), QStringLiteral("Or press PLAYER 1 START to skip it."));
        p.Do({"button 3 down", "button 3 up", "button 5 down", "button 5 up"});
        QVERIFY(!p.t.windows().IsLoaded(FormId::Controls));

        // At once and after a restart, it is heard as taught and not asked again.
        const std::string kept = test::ReadBytes(ControllerMappingsPath(p.t.programDir));
        QVERIFY2(kept.find(",Favorizer test encoder,dpup:h0.1,dpdown:h0.4,dpleft:-a0,dpright:h0.2,"
                           "start:b3,back:b2,b:b5,\r\n") != std::string::npos,
                 kept.c_str());
        for (int start = 0; start < 2; ++start) {
            if (start == 1) {
                p.Do({"detach"});
                p.controllers = std::make_unique<Controllers>(p.t.app);
                p.Do({"attach encoder"});
                QVERIFY(!p.t.windows().IsLoaded(FormId::Controls));
            }
            p.Do({"button 9 down", "button 9 up"});
            QVERIFY(List(p.t.windows(), "List1")->isEnabled());
            p.Do({"button 3 down", "button 3 up"});
            QVERIFY(List(p.t.windows(), "List2")->isEnabled());
            p.Do({"axis 0 -30000", "axis 0 0"});
            QVERIFY(List(p.t.windows(), "List1")->isEnabled());
        }
    }

    void teachingIsLeftByHoldingAnyInputAndFromTheSetupScreensLink() {
        PadProgram p;
        p.AtMenu("emulators = mame kbfavFIGHT");
        p.Attach("attach known");
        // Asked for from the setup screen: the controller whose button is pressed is taught.
        QVERIFY(p.t.app.teachController);
        p.t.app.teachController();
        QVERIFY(p.t.windows().IsVisible(FormId::Controls));
        p.Do({"button 0 down", "button 0 up"});
        p.Do({"button 11 down"});
        QTest::qWait(int(ControlTeaching::HoldToLeaveMs) + 100);
        p.Poll();
        QVERIFY(!p.t.windows().IsLoaded(FormId::Controls));
        // A pad SDL knows keeps SDL's mapping: nothing is written.
        QVERIFY(!test::Exists(ControllerMappingsPath(p.t.programDir)));
        p.Do({"button 11 up", "button 6 down", "button 6 up"});
        QVERIFY(List(p.t.windows(), "List2")->isEnabled());
    }

    void aStoredMappingTeachesAnEncoderAndABrokenLineIsLogged() {
        PadProgram p;
        p.AtMenu("emulators = mame kbfavFIGHT");
        // The encoder's own name for itself, as SDL gives it.
        p.Do({"attach encoder"});
        const std::string guid = p.pad.Guid();
        p.Do({"detach"});
        test::WriteBytes(ControllerMappingsPath(p.t.programDir),
                         guid + ",Taught encoder,start:b3,back:b2,\r\nnonsense\r\n");

        p.controllers = std::make_unique<Controllers>(p.t.app);
        p.Do({"attach encoder", "button 9 down", "button 9 up"});
        QVERIFY2(!List(p.t.windows(), "List2")->isEnabled(), "the wiring it was taught away from");
        p.Do({"button 3 down", "button 3 up"});
        QVERIFY(List(p.t.windows(), "List2")->isEnabled());
        const std::string log = test::ReadBytes(p.t.programDir + "/favorlog.txt");
        QCOMPARE(int(std::count(log.begin(), log.end(), '\n')), 2); // its first line, and one
        QVERIFY(log.find("controllers.txt: not a controller's mapping: nonsense") !=
                std::string::npos);
    }

    void twoControllersHoldAKeyTogether() {
        // Two identical encoders: a key is let go only when neither holds it.
        PadProgram p;
        TestPad second{std::string()};
        p.AtMenu("emulators = mame kbfavFIGHT");
        p.Attach("attach encoder");
        second.Run("attach encoder");
        p.Poll();
        QCOMPARE(p.controllers->Count(), 2);
        p.Do({"button 0 down"});
        second.Run("button 0 down");
        p.Do({"button 0 up"});
        QVERIFY(p.held.IsDown(ArcadeKey::Ctrl));
        second.Run("detach");
        p.Poll();
        QVERIFY(!p.held.IsDown(ArcadeKey::Ctrl));
    }
};

QTEST_MAIN(ControllersTest)
#include "controllers_test.moc"
