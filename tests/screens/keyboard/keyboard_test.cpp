#include "app/controls.h"
#include "app/twips.h"
#include "support/test_app.h"

#include <QFrame>
#include <QLabel>
#include <QTest>

using namespace fav;
using namespace fav::test;

namespace {

QLabel* Named(Form* form, const QString& name) {
    return form->findChild<QLabel*>(name);
}

// The slots as shown, and "|" after the one with a border.
QString SlotsShown(Form* form) {
    QString text;
    for (int slot = 0; slot < 12; ++slot) {
        QLabel* label = Named(form, QStringLiteral("Label3(%1)").arg(slot));
        text += label->text() + (HasBorder(label) ? "|" : "");
    }
    return text;
}

// The highlighted key, which must be the only enabled key and the only one with a border.
int HighlightedKey(Form* form) {
    int found = -1;
    for (int key = 0; key < 50; ++key) {
        QLabel* label = Named(form, QStringLiteral("Label13(%1)").arg(key));
        if (label->isEnabled() || HasBorder(label)) {
            found = found == -1 && label->isEnabled() && HasBorder(label) ? key : -2;
        }
    }
    return found;
}

Form* OpenKeyboard(TestApp& t) {
    t.WriteCabinet();
    t.app.shared.LauncherDir = t.cabinetDir;
    t.windows().Show(FormId::Form3);
    return t.windows().Find(FormId::Form3);
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void keyGrid_data() {
        struct Row {
            int key;
            const char* caption;
            int width;
            double points;
        };
        const Row rows[] = {{0, "A", 375, 12},     {9, "Rub", 1455, 12},  {29, "Caps ON", 1215, 12},
                            {40, " ,", 375, 13.5}, {43, " .", 375, 9.75}, {45, "@", 735, 8.25},
                            {47, " (", 375, 9.75}, {49, "Done", 1455, 12}};
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("points");
        for (const Row& row : rows) {
            QTest::addRow("%d", row.key) << row.key << row.caption << row.width << row.points;
        }
    }

    void keyGrid() {
        QFETCH(int, key);
        QFETCH(QString, caption);
        QFETCH(int, width);
        QFETCH(double, points);
        TestApp t;
        QLabel* label = Named(OpenKeyboard(t), QStringLiteral("Label13(%1)").arg(key));
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->geometry(), QRect(TwipsToPixels(600 + 840 * (key % 10)),
                                          TwipsToPixels(2280 + 720 * (key / 10)),
                                          TwipsToPixels(width), TwipsToPixels(375)));
        QCOMPARE(label->font().pointSizeF(), points);
        QVERIFY(label->font().bold());
    }

    void nameAndDescriptionTypedWithKeysReachVerify() {
        TestApp t;
        Form* form = OpenKeyboard(t);
        QCOMPARE(form->windowTitle(), QStringLiteral("Create a new favorites list"));
        QCOMPARE(HighlightedKey(form), 0);
        QCOMPARE(SlotsShown(form), QStringLiteral("A|___________"));
        QVERIFY(Named(form, "Label2")->isVisible() && !Named(form, "Label5")->isVisible());
        QVERIFY(Named(form, "Label7")->isVisible() && !Named(form, "Label8")->isVisible());

        t.Press(Qt::Key_Up); // "Done"
        t.Press(Qt::Key_Up); // "Caps Off"
        t.Press(Qt::Key_1);
        QVERIFY(!Named(form, "Label7")->isVisible() && Named(form, "Label8")->isVisible());
        t.Press(Qt::Key_Down, 2); // "A"
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Right); // "B"
        QCOMPARE(SlotsShown(form), QStringLiteral("ab|__________"));
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Left, 2); // "Done" withdraws the preview
        QCOMPARE(HighlightedKey(form), 49);
        QCOMPARE(SlotsShown(form), QStringLiteral("ab_|_________"));
        t.Press(Qt::Key_1);
        QCOMPARE(t.app.shared.CurrentListName, std::string("ab"));
        QCOMPARE(Named(form, "Label9")->text(), QStringLiteral("ab"));
        QVERIFY(!Named(form, "Label2")->isVisible() && Named(form, "Label5")->isVisible());
        QCOMPARE(SlotsShown(form), QStringLiteral("A|___________"));

        t.Press(Qt::Key_Down); // "J"
        t.Press(Qt::Key_1);
        t.Press(Qt::Key_Up);   // "A"
        t.Press(Qt::Key_Left); // "Done"
        t.Press(Qt::Key_1);
        TestApp::Settle();
        QVERIFY(!t.windows().IsLoaded(FormId::Form3));
        QVERIFY(t.windows().IsVisible(FormId::Form4));
        QCOMPARE(t.app.shared.NewListDescription, std::string("j"));
        QCOMPARE(Named(t.windows().Find(FormId::Form4), "Label4")->text(), QStringLiteral("j"));
    }

    void escapeReturnsToTheMenu_data() {
        QTest::addColumn<bool>("nameDone");
        QTest::newRow("name phase") << false;
        QTest::newRow("description phase") << true;
    }

    void escapeReturnsToTheMenu() {
        QFETCH(bool, nameDone);
        TestApp t;
        OpenKeyboard(t);
        t.Press(Qt::Key_1); // "A"
        if (nameDone) {
            t.Press(Qt::Key_Left);
            t.Press(Qt::Key_1);
        }
        t.Press(Qt::Key_Escape);
        TestApp::Settle();
        QVERIFY(!t.windows().IsLoaded(FormId::Form3));
        QVERIFY(t.windows().IsVisible(FormId::Form2));
        QCOMPARE(t.app.shared.CurrentListName, std::string(nameDone ? "A" : ""));
    }

    void frameStaysCentred() {
        TestApp t;
        Form* form = OpenKeyboard(t);
        auto* frame = form->findChild<QFrame*>(QStringLiteral("Frame1"));
        form->resize(TwipsToPixels(10830) + 400, TwipsToPixels(8385) + 200);
        QCoreApplication::processEvents();
        // The whole design, the frame's margin in the window included, stays in the middle.
        QVERIFY(qAbs(frame->x() - 200) <= 1);
        QVERIFY(qAbs(frame->y() - 100) <= 1);
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
