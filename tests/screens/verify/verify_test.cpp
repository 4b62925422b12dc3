#include "app/controls.h"
#include "screens/keyboard/form3.h"
#include "support/test_app.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <filesystem>

using namespace fav;
using namespace fav::test;

namespace {

// "Yes" or "No" when exactly that answer is chosen (bordered and enabled, the other neither).
QString Chosen(Form* form) {
    auto* yes = form->findChild<QLabel*>(QStringLiteral("Label6"));
    auto* no = form->findChild<QLabel*>(QStringLiteral("Label7"));
    if (HasBorder(yes) && yes->isEnabled() && !HasBorder(no) && !no->isEnabled()) {
        return QStringLiteral("Yes");
    }
    if (!HasBorder(yes) && !yes->isEnabled() && HasBorder(no) && no->isEnabled()) {
        return QStringLiteral("No");
    }
    return QString();
}

bool PanelShown(Form* form) {
    return form->findChild<QFrame*>(QStringLiteral("Frame1"))->isVisible();
}

Form* OpenVerify(TestApp& t, const std::string& name, const std::string& description) {
    t.app.shared.LauncherDir = t.cabinetDir;
    t.app.shared.CurrentListName = name;
    t.app.shared.NewListDescription = description;
    t.windows().Show(FormId::Form4);
    return t.windows().Find(FormId::Form4);
}

bool AnyListFile(const TestApp& t, const std::string& name) {
    const std::string base = t.cabinetDir + "/config/kbfav" + name;
    return Exists(base + ".cfg") || Exists(base + ".map") || Exists(base + ".rom");
}

} // namespace

class VerifyTest : public QObject {
    Q_OBJECT

private slots:
    void everyDirectionToggles_data() {
        QTest::addColumn<int>("key");
        for (int key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}) {
            QTest::addRow("%x", key) << key;
        }
    }

    void everyDirectionToggles() {
        QFETCH(int, key);
        TestApp t;
        t.WriteCabinet();
        Form* form = OpenVerify(t, "My_List", "Old_games");
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("Label3"))->text(),
                 QStringLiteral("My_List"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("Label5"))->text(),
                 QStringLiteral("Is this correct? "));
        QVERIFY(!PanelShown(form));
        QCOMPARE(Chosen(form), QStringLiteral("Yes"));
        t.Press(Qt::Key(key));
        QCOMPARE(Chosen(form), QStringLiteral("No"));
        t.Press(Qt::Key(key));
        QCOMPARE(Chosen(form), QStringLiteral("Yes"));
    }

    void yesWithAFreeNameCreatesTheList() {
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavmy_list");
        OpenVerify(t, "My_List", "Old_games");
        t.Press(Qt::Key_1);
        TestApp::Settle();
        QVERIFY(!t.windows().IsLoaded(FormId::Form4));
        QVERIFY(t.windows().IsVisible(FormId::Form2));
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinet.cfg"),
                 std::string("# launcher\r\nemulators = mame kbfavmy_list kbfavMy_List\r\n"));
        const std::string base = t.cabinetDir + "/config/kbfavMy_List";
        QCOMPARE(ReadBytes(base + ".cfg"),
                 std::string("name = My List\r\ndescription =Old games\r\n"));
        QCOMPARE(ReadBytes(base + ".map"), std::string());
        QCOMPARE(ReadBytes(base + ".rom"), std::string());
        auto* menu =
            t.windows().Find(FormId::Form2)->findChild<QListWidget*>(QStringLiteral("List1"));
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->findItems(QStringLiteral(" My_List"), Qt::MatchExactly).size(), 1);
    }

    void aTakenNameShowsThePanelAndWritesNothing() {
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavMine");
        const std::string before = ReadBytes(t.cabinetDir + "/kabinet.cfg");
        Form* form = OpenVerify(t, "Mine", "");
        t.Press(Qt::Key_1);
        QVERIFY(PanelShown(form));
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinet.cfg"), before);
        QVERIFY(!Exists(t.cabinetDir + "/kabinetcfg.tmp"));
        QVERIFY(!AnyListFile(t, "Mine"));
        t.Press(Qt::Key_Down); // the covered answers still work
        t.Press(Qt::Key_1);
        TestApp::Settle();
        QVERIFY(t.windows().IsVisible(FormId::Form3));
    }

    void noAndEscapeReturnToAFreshKeyboard_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("no") << false;
        QTest::newRow("escape") << true;
    }

    void noAndEscapeReturnToAFreshKeyboard() {
        QFETCH(bool, escape);
        TestApp t;
        t.WriteCabinet();
        OpenVerify(t, "A", "");
        if (!escape) {
            t.Press(Qt::Key_Up);
        }
        t.Press(escape ? Qt::Key_Escape : Qt::Key_1);
        TestApp::Settle();
        QVERIFY(!t.windows().IsLoaded(FormId::Form4));
        auto* keyboard = t.windows().Get<Form3>(FormId::Form3);
        QVERIFY(keyboard != nullptr);
        QCOMPARE(t.windows().ActiveForm(), keyboard);
        QVERIFY(keyboard->State().InNamePhase());
        QCOMPARE(keyboard->findChild<QLabel*>(QStringLiteral("Label3(0)"))->text(),
                 QStringLiteral("A"));
        QVERIFY(keyboard->findChild<QLabel*>(QStringLiteral("Label9"))->text().isEmpty());
        QVERIFY(!Exists(t.cabinetDir + "/kabinetcfg.tmp"));
    }

    void missingMameCfgShowsTheErrorAfterDeclaringTheList() {
        TestApp t;
        t.WriteCabinet();
        std::filesystem::remove(t.cabinetDir + "/config/mame.cfg");
        Form* form = OpenVerify(t, "New", "");
        t.Press(Qt::Key_1);
        QVERIFY(t.windows().IsVisible(FormId::Form5));
        QCOMPARE(t.app.CurrentFailure().code, ErrorCode::FileNotFound);
        QCOMPARE(ReadBytes(t.cabinetDir + "/kabinet.cfg"),
                 std::string("# launcher\r\nemulators = mame kbfavNew\r\n"));
        QVERIFY(!AnyListFile(t, "New"));
        QVERIFY(t.windows().IsLoaded(FormId::Form4));
        QCOMPARE(Chosen(form), QStringLiteral("Yes"));
    }

    void unreadableLauncherConfigShowsTheErrorAndWritesNothing() {
        TestApp t;
        t.WriteCabinet();
        std::filesystem::remove(t.cabinetDir + "/kabinet.cfg");
        std::filesystem::create_directory(t.cabinetDir + "/kabinet.cfg");
        OpenVerify(t, "New", "");
        t.Press(Qt::Key_1);
        QVERIFY(t.windows().IsVisible(FormId::Form5));
        QVERIFY(!Exists(t.cabinetDir + "/kabinetcfg.tmp"));
        QVERIFY(!AnyListFile(t, "New"));
    }
};

QTEST_MAIN(VerifyTest)
#include "verify_test.moc"
