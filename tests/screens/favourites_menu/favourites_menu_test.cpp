#include "app/twips.h"
#include "support/test_app.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <filesystem>

using namespace fav;
using namespace fav::test;

namespace {

Form* ShowMenu(TestApp& t, const std::string& emulatorsLine) {
    t.WriteCabinet(emulatorsLine);
    t.app.shared.LauncherDir = t.cabinetDir;
    t.windows().Show(FormId::Form2);
    return t.windows().Find(FormId::Form2);
}

QListWidget* List(Form* form, const char* name) {
    return form->findChild<QListWidget*>(name);
}

QString Text(Form* form, const char* label) {
    return form->findChild<QLabel*>(label)->text();
}

QStringList Items(Form* form, const char* list) {
    QStringList items;
    for (int row = 0; row < List(form, list)->count(); ++row) {
        items << List(form, list)->item(row)->text();
    }
    return items;
}

int Selected(Form* form, const char* list) {
    const auto items = List(form, list)->selectedItems();
    return items.isEmpty() ? -1 : List(form, list)->row(items.front());
}

// Which menu is active, and which titles the masks leave readable.
bool FavouritesActive(Form* form) {
    return List(form, "List1")->isEnabled() && !List(form, "List2")->isEnabled() &&
           form->focusWidget() == List(form, "List1");
}
bool OptionsActive(Form* form) {
    return !List(form, "List1")->isEnabled() && List(form, "List2")->isEnabled() &&
           form->focusWidget() == List(form, "List2");
}
bool OptionsTitleCovered(Form* form) {
    return form->findChild<QFrame*>("Frame2")->isVisible() &&
           !form->findChild<QFrame*>("Frame1")->isVisible();
}

} // namespace

class FavouritesMenuTest : public QObject {
    Q_OBJECT

private slots:
    void menuWithoutListsOnlyCreatesOrEnds() {
        TestApp t;
        Form* form = ShowMenu(t, "emulators = mame");
        QCOMPARE(t.app.shared.SetupRequested, True);
        QCOMPARE(
            Items(form, "List2"),
            QStringList({"Create a new favorites List.", "Edit the selected Favorites List Games.",
                         "Delete the selected Favorites List.", "Cancel (ESC)."}));
        QCOMPARE(List(form, "List1")->count(), 0);
        QCOMPARE(Text(form, "Label11"), QStringLiteral("15"));
        QVERIFY(FavouritesActive(form) && OptionsTitleCovered(form));

        t.Press(Qt::Key_1);
        QVERIFY(OptionsActive(form));
        QCOMPARE(Selected(form, "List2"), 1);
        QVERIFY(OptionsTitleCovered(form)); // Start does not switch the titles
        t.Press(Qt::Key_1);                 // Edit without a list
        QCOMPARE(t.windows().ActiveForm(), form);

        t.Press(Qt::Key_Escape);
        QVERIFY(t.ended);
        QVERIFY(t.messages.shown.empty());
    }

    void joystickMovesWithinAListWithoutWrapping() {
        TestApp t;
        Form* form = ShowMenu(t, "emulators = mame kbfavFIGHT kbfavRACE kbfavPUZZLE");
        QCOMPARE(Items(form, "List1"), QStringList({" FIGHT", " RACE", " PUZZLE"}));
        QCOMPARE(Text(form, "Label11"), QStringLiteral("12"));
        QCOMPARE(Text(form, "Label12"), QStringLiteral(" FIGHT"));

        t.Press(Qt::Key_Up);
        QCOMPARE(Selected(form, "List1"), 0);
        t.Press(Qt::Key_Down);
        QCOMPARE(Selected(form, "List1"), 1);
        QCOMPARE(Text(form, "Label12"), QStringLiteral(" FIGHT")); // trails by one key
        t.Press(Qt::Key_Down, 3);
        QCOMPARE(Selected(form, "List1"), 2);

        // Nothing but up and down moves a list: no typed search, no paging, no focus change.
        for (Qt::Key key : {Qt::Key_P, Qt::Key_Space, Qt::Key_Home, Qt::Key_PageUp, Qt::Key_Control,
                            Qt::Key_Alt, Qt::Key_Tab}) {
            t.Press(key);
            QCOMPARE(Selected(form, "List1"), 2);
            QVERIFY(FavouritesActive(form));
        }
    }

    void leftAndRightSwitchMenusKeepingBothSelections() {
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left}) {
            TestApp t;
            Form* form = ShowMenu(t, "emulators = mame kbfavFIGHT kbfavRACE");
            t.Press(Qt::Key_Down);
            t.Press(key);
            QVERIFY(OptionsActive(form) && !OptionsTitleCovered(form));
            QCOMPARE(Selected(form, "List2"), 0);

            t.Press(Qt::Key_Down, 5);
            QCOMPARE(Selected(form, "List2"), 3);
            t.Press(key);
            QVERIFY(FavouritesActive(form) && OptionsTitleCovered(form));
            QCOMPARE(Selected(form, "List1"), 1);
            t.Press(key);
            QCOMPARE(Selected(form, "List2"), 3);

            // Start from the favourites menu always lands on Edit.
            t.Press(key);
            t.Press(Qt::Key_1);
            QCOMPARE(Selected(form, "List2"), 1);
        }
    }

    void optionsOpenTheirScreens() {
        struct Case {
            const char* line;
            int option;
            FormId opens; // Form2: nothing happens
        };
        const Case cases[] = {
            {"emulators = mame kbfavFIGHT kbfavRACE", 1, FormId::Form7},
            {"emulators = mame kbfavFIGHT kbfavRACE", 2, FormId::Form6},
            {"emulators = mame kbfavFIGHT kbfavRACE", 0, FormId::Form3},
            {"emulators = mame a b c d e f g h i j k l m n o", 0, FormId::Form2}, // 0 remaining
            {"emulators = mame a b c d e f g h i j k l m n o p q", 0, FormId::Form2},
        };
        for (const Case& c : cases) {
            TestApp t;
            ShowMenu(t, c.line);
            t.Press(Qt::Key_Down);
            t.Press(Qt::Key_Right);
            t.Press(Qt::Key_Down, c.option);
            t.Press(Qt::Key_1);
            QCOMPARE(t.windows().ActiveForm()->id(), c.opens);
            QCOMPARE(t.windows().IsLoaded(FormId::Form2), c.opens == FormId::Form2);
            if (c.option != 0) {
                QCOMPARE(t.app.shared.CurrentListName, std::string(" RACE"));
            }
        }
    }

    void everyActivationBuildsTheMenusAfresh() {
        TestApp t;
        Form* form = ShowMenu(t, "emulators = mame kbfavFIGHT kbfavRACE");
        t.Press(Qt::Key_Down);
        t.Press(Qt::Key_Right);
        // A screen closing over the menu activates it again.
        t.app.ShowError(Failure{53, "File not found"});
        WriteBytes(t.cabinetDir + "/kabinet.cfg", "emulators = mame kbfavRACE kbfavPUZZLE\r\n");
        t.Press(Qt::Key_Escape);
        QCOMPARE(t.windows().ActiveForm(), form);
        QCOMPARE(Items(form, "List1"), QStringList({" RACE", " PUZZLE"}));
        QCOMPARE(Items(form, "List2").size(), 4);
        QCOMPARE(Selected(form, "List1"), 0);
        QCOMPARE(Selected(form, "List2"), -1);
        QVERIFY(FavouritesActive(form));
    }

    void configProblems() {
        {
            TestApp t; // no kabinet.cfg: warned, and Create still works
            t.app.shared.LauncherDir = t.cabinetDir;
            t.windows().Show(FormId::Form2);
            Form* form = t.windows().Find(FormId::Form2);
            QCOMPARE(t.messages.shown.size(), std::size_t{1});
            QCOMPARE(t.messages.shown[0].text,
                     QStringLiteral("Warning! Kabinet.cfg file not found! Please set up the "
                                    "program!"));
            QCOMPARE(t.messages.shown[0].caption, QStringLiteral("favorizer"));
            QCOMPARE(t.messages.shown[0].icon, MessageIcon::None);
            QCOMPARE(Text(form, "Label11"), QStringLiteral("0"));
            t.Press(Qt::Key_Right);
            t.Press(Qt::Key_1);
            QCOMPARE(t.windows().ActiveForm()->id(), FormId::Form3);
        }
        {
            TestApp t; // no MAME entry
            ShowMenu(t, "emulators = kbfavFIGHT");
            QCOMPARE(t.messages.shown.size(), std::size_t{1});
            QCOMPARE(t.messages.shown[0].text,
                     QStringLiteral("Mame emulator not found! Please check your Kabinet.cfg "
                                    "file. Make sure emulators = mame is in the kabinet.cfg "
                                    "file."));
            QCOMPARE(t.messages.shown[0].caption, QStringLiteral("Favorizer"));
            QCOMPARE(t.messages.shown[0].icon, MessageIcon::Critical);
            QVERIFY(t.ended);
        }
        {
            TestApp t; // unreadable: too large to read (sparse, so it costs no disk)
            t.WriteCabinet("emulators = mame kbfavFIGHT");
            std::filesystem::resize_file(t.cabinetDir + "/kabinet.cfg", std::uintmax_t{600} << 20);
            t.app.shared.LauncherDir = t.cabinetDir;
            t.windows().Show(FormId::Form2);
            Form* form = t.windows().Find(FormId::Form2);
            QCOMPARE(t.windows().ActiveForm()->id(), FormId::Form5);
            t.Press(Qt::Key_Escape); // closing it does not bring it back
            QCOMPARE(t.windows().ActiveForm(), form);
            t.Press(Qt::Key_Right);
            QVERIFY(OptionsActive(form));
            QVERIFY(!t.ended);
        }
    }

    void fullScreenMaximisesTheMainScreensAndCentresTheMenu() {
        TestApp t;
        t.app.shared.FullscreenFlag = 1;
        Form* form = ShowMenu(t, "emulators = mame");
        for (FormId id : {FormId::Form2, FormId::Form3, FormId::Form4, FormId::Form7}) {
            QVERIFY(t.windows().IsMaximised(id));
        }
        QVERIFY(!t.windows().IsMaximised(FormId::Form6));
        QTRY_VERIFY(form->width() > TwipsToPixels(9120));
        // The whole menu, scaled up, fills the screen's height or width and lies centred on it.
        QVERIFY(form->scale() > 1.0);
        auto* frame = form->findChild<QFrame*>("Frame3");
        QRect content;
        for (const QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            content = content.united(control->geometry().translated(frame->pos()));
        }
        QVERIFY(form->rect().contains(content));
        QVERIFY(content.height() >= 0.9 * form->height() || content.width() >= 0.9 * form->width());
        QVERIFY(std::abs(content.center().x() - form->width() / 2) <= 2);
        QVERIFY(std::abs(content.center().y() - form->height() / 2) <= 2);
    }

    void setupLineReturnsToTheSetupScreen() {
        TestApp t;
        Form* form = ShowMenu(t, "emulators = mame");
        QTest::mouseClick(form->findChild<QLabel*>("Label2"), Qt::LeftButton);
        QVERIFY(!t.windows().IsLoaded(FormId::Form2));
        QVERIFY(t.windows().IsVisible(FormId::Form1));
    }
};

QTEST_MAIN(FavouritesMenuTest)
#include "favourites_menu_test.moc"
