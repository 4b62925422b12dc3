#include "app/arcade_key.h"
#include "app/controls.h"
#include "app/looks.h"
#include "app/twips.h"
#include "support/test_app.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
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

    void scalingLaysEveryControlOutAgainAndBack() {
        TestApp test;
        test.windows().Show(FormId::Form4);
        Form* form = test.windows().Find(FormId::Form4);
        auto* yes = form->findChild<QLabel*>(QStringLiteral("Label6"));
        auto* name = form->findChild<QLabel*>(QStringLiteral("Label3"));
        const QRect yesAtOne = yes->geometry();
        const QRect nameAtOne = name->geometry();
        const QSize formAtOne = form->size();
        QCOMPARE(yes->font().pointSizeF(), 24.0);
        QCOMPARE(yes->lineWidth(), SelectionBorderWidth);

        form->SetScale(2.0);
        QCOMPARE(yes->font().pointSizeF(), 48.0);
        QCOMPARE(name->font().pointSizeF(), 8.25 * 2);
        QCOMPARE(form->font().pointSizeF(), 8.25 * 2);
        QCOMPARE(yes->width(), TwipsToPixels(1215 * 2));
        QCOMPARE(yes->lineWidth(), 2 * SelectionBorderWidth);
        // Controls selected after the change take the window's scale too.
        SetBorder(name, true);
        QCOMPARE(name->lineWidth(), 2 * SelectionBorderWidth);
        SetBorder(name, false);

        // Back at the design size nothing has drifted.
        form->SetScale(1.0);
        form->resize(formAtOne);
        QCOMPARE(yes->geometry(), yesAtOne);
        QCOMPARE(name->geometry(), nameAtOne);
        QCOMPARE(yes->font().pointSizeF(), 24.0);
        QCOMPARE(yes->lineWidth(), SelectionBorderWidth);
    }

    void aWindowTooLargeForTheScreenShrinksToFitCentred() {
        TestApp test;
        test.WriteCabinet();
        Form* setup = test.windows().Load(FormId::Form1);
        QVERIFY(setup != nullptr);
        const QRect small(0, 0, 640, 480);
        setup->FitWindow(small);
        QVERIFY(setup->scale() < 1.0);
        QVERIFY(small.contains(setup->geometry()));
        QVERIFY(std::abs(setup->geometry().center().x() - small.center().x()) <= 1);
        QVERIFY(std::abs(setup->geometry().center().y() - small.center().y()) <= 1);
        // Whole and usable: the buttons and the last line of the instructions lie inside.
        for (const char* name : {"Command2", "Command3", "Label7", "Label5", "Check1"}) {
            auto* control = setup->findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(control != nullptr, name);
            QVERIFY2(setup->rect().contains(control->geometry()), name);
        }

        // One that fits keeps its design size, centred.
        Form* remove = test.windows().Load(FormId::Form6);
        remove->FitWindow(small);
        QCOMPARE(remove->scale(), 1.0);
        QCOMPARE(remove->size(), QSize(TwipsToPixels(5610), TwipsToPixels(3870)));
        QVERIFY(std::abs(remove->geometry().center().x() - small.center().x()) <= 1);
    }

    void fullScreenFillsTheScreenAndTheSmallWindowsComeAlong() {
        TestApp test;
        test.windows().SetMaximised(FormId::Form4);
        test.windows().Show(FormId::Form4);
        Form* verify = test.windows().Find(FormId::Form4);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(verify->size(), screen.size());
        QVERIFY(verify->scale() > 1.0);
        // The content fills the limiting dimension, centred, and nothing lies off the screen.
        QRect content;
        for (const QLabel* label : verify->findChildren<QLabel*>()) {
            if (label->parentWidget() == verify) {
                content = content.united(label->geometry());
            }
        }
        QVERIFY(verify->rect().contains(content));
        QVERIFY(std::max(double(content.width()) / screen.width(),
                         double(content.height()) / screen.height()) >= 0.9);
        QVERIFY(std::abs(content.center().x() - verify->rect().center().x()) <= 2);
        QVERIFY(std::abs(content.center().y() - verify->rect().center().y()) <= 2);

        // The program's own background lies under everything.
        QVERIFY(test.windows().Backdrop() != nullptr);
        QCOMPARE(test.windows().Backdrop()->geometry(), screen);
        QVERIFY(!test.windows().Backdrop()->isActiveWindow());

        test.windows().Show(FormId::Form6);
        Form* remove = test.windows().Find(FormId::Form6);
        QVERIFY(remove->scale() > 1.0);
        QVERIFY(remove->scale() <= verify->scale());
        QVERIFY(screen.contains(remove->geometry()));
        // Within the few pixels of the edge the test platform draws round a window.
        QVERIFY(std::abs(remove->geometry().center().x() - screen.center().x()) <= 3);
        QVERIFY(std::abs(remove->geometry().center().y() - screen.center().y()) <= 3);
    }
};

QTEST_MAIN(WindowManagerTest)
#include "window_manager_test.moc"
