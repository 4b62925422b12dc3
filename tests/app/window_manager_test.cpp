#include "app/arcade_key.h"
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
