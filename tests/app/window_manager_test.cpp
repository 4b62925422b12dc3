#include "app/arcade_key.h"
#include "app/key_gate.h"
#include "support/test_app.h"

#include <QTest>

using namespace fav;
using namespace fav::test;

class WindowManagerTest : public QObject {
    Q_OBJECT

private slots:
    void qtKeysBecomeArcadeKeys() {
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_Left, false), 37);
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_Down, false), 40);
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_1, false), 49);
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_1, true), 97);
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_Escape, false), 27);
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_Control, false), 17);
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_Alt, false), 18);
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_Q, false), 81);
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_F1, false), 112);
        QCOMPARE(ArcadeKeyFromQt(Qt::Key_Exclam, false), 0);
    }

    // What the window system sends for a held key, as the gate sees it.
    void heldKeysPassTheGateOnce() {
        constexpr int Start = 10, Down = 116; // the window system's key numbers
        KeyGate gate;
        QVERIFY(gate.Press(Start, ArcadeKey::Player1Start, false, 1000));
        QVERIFY(gate.IsDown(ArcadeKey::Player1Start));
        // A repeat the toolkit did not pair up: release and press at one time.
        QVERIFY(gate.Release(Start, false, 1660));
        QVERIFY(!gate.Press(Start, ArcadeKey::Player1Start, false, 1660));
        QVERIFY(!gate.Press(Start, ArcadeKey::Player1Start, true, 1700));
        // The same release passed on to a parent counts once.
        QVERIFY(gate.Release(Start, false, 1800));
        QVERIFY(!gate.Release(Start, false, 1800));
        QVERIFY(!gate.IsDown(ArcadeKey::Player1Start));
        QVERIFY(gate.Press(Start, ArcadeKey::Player1Start, false, 1900));

        // The joystick repeats, until a screen comes while it is held.
        QVERIFY(gate.Press(Down, ArcadeKey::Down, false, 2000));
        QVERIFY(gate.Press(Down, ArcadeKey::Down, true, 2700));
        gate.ScreenAppeared();
        QVERIFY(!gate.Press(Down, ArcadeKey::Down, true, 2740));
        QVERIFY(gate.Release(Down, false, 2800));
        QVERIFY(gate.Press(Down, ArcadeKey::Down, false, 2900));

        // A repeat of a key pressed before the program was there to see it.
        KeyGate late;
        QVERIFY(!late.Press(Down, ArcadeKey::Down, true, 100));
        QVERIFY(late.Release(Down, false, 200));
        QVERIFY(late.Press(Down, ArcadeKey::Down, false, 300));
    }

    void unloadingTheLastWindowEndsTheProgram() {
        TestApp test;
        test.windows().Show(FormId::Form6);
        test.windows().Show(FormId::Form5);
        QCOMPARE(test.windows().ActiveForm()->id(), FormId::Form5);
        test.windows().Unload(FormId::Form5);
        QCOMPARE(test.windows().ActiveForm()->id(), FormId::Form6);
        QVERIFY(!test.ended);
        test.windows().UnloadAll();
        QVERIFY(test.ended);
        QVERIFY(test.windows().LoadedForms().empty());
    }
};

QTEST_MAIN(WindowManagerTest)
#include "window_manager_test.moc"
