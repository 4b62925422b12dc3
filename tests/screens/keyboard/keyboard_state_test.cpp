#include "screens/keyboard/keyboard_state.h"

#include <QTest>

using namespace fav;
using Outcome = KeyboardState::Outcome;

namespace {

constexpr int Start = 49, Escape = 27, Left = 37, Up = 38, Right = 39, Down = 40;

void MoveTo(KeyboardState& state, int key) {
    for (int i = 0; i < KeyboardState::KeyCount && state.SelectedKey() != key; ++i) {
        state.KeyDown(Right);
    }
}

// Runs a script: "<>^v" move, "*" presses Start; "{" Rub, "}" Clear, "+" Caps ON, "/" Caps Off
// and "=" Done are walked to with right and pressed, as is any other character's key.
Outcome Run(KeyboardState& state, const QString& script) {
    const std::string commands = "{}+/=";
    const std::string moves = "<^>v";
    Outcome last = Outcome::None;
    for (const QChar qc : script) {
        const char c = qc.toLatin1();
        if (moves.find(c) != std::string::npos) {
            last = state.KeyDown(Left + static_cast<int>(moves.find(c)));
            continue;
        }
        if (c != '*') {
            int key = commands.find(c) != std::string::npos
                          ? static_cast<int>(commands.find(c)) * 10 + 9
                          : -1;
            for (int k = 0; key < 0 && k < KeyboardState::KeyCount; ++k) {
                const std::string& caption = KeyboardState::KeyCaption(k);
                if (!KeyboardState::IsCommandKey(k) && caption.back() == qc.toUpper()) {
                    key = k;
                }
            }
            MoveTo(state, key);
        }
        last = state.KeyDown(Start);
    }
    return last;
}

QString Slots(const KeyboardState& state) {
    QString text;
    for (int slot = 0; slot < KeyboardState::SlotCount; ++slot) {
        text += QString::fromStdString(state.SlotText(slot));
    }
    return text;
}

} // namespace

class KeyboardStateTest : public QObject {
    Q_OBJECT

private slots:
    void movement_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("to");
        for (int c = 1; c <= 9; ++c) {
            QTest::addRow("up from %d", c) << c << Up << 39 + c; // "B" lands on " ,"
        }
        for (int c = 0; c <= 8; ++c) {
            QTest::addRow("down from %d", 40 + c) << 40 + c << Down << c + 1; // ")" on "Rub"
        }
        QTest::newRow("up from A") << 0 << Up << 49;
        QTest::newRow("down from Done") << 49 << Down << 0;
        QTest::newRow("left from A") << 0 << Left << 49;
        QTest::newRow("right from Done") << 49 << Right << 0;
        QTest::newRow("right from Rub") << 9 << Right << 10;
        QTest::newRow("down in the grid") << 3 << Down << 13;
        QTest::newRow("up from Done") << 49 << Up << 39;
        QTest::newRow("other key") << 12 << 17 << 12;
    }

    void movement() {
        QFETCH(int, from);
        QFETCH(int, keyCode);
        QFETCH(int, to);
        KeyboardState state;
        state.Activate();
        MoveTo(state, from);
        QCOMPARE(state.KeyDown(keyCode), Outcome::None);
        QCOMPARE(int(state.SelectedKey()), to);
        // Slot 0 previews a character key; a command key withdraws the preview.
        QCOMPARE(state.SlotText(0),
                 KeyboardState::IsCommandKey(to) ? "_" : KeyboardState::KeyCaption(to));
    }

    void shownState_data() {
        struct Row {
            const char* name;
            const char* script;
            const char* shown;
            int key, cursor, border; // border: the only bordered slot, -1 for none
        };
        const Row rows[] = {
            {"opening", "", "A___________", 0, 0, 0},
            {"typing moves the cursor", "AB", "ABB_________", 1, 2, 2},
            {"comma shown with its space", ",", " , ,__________", 40, 1, 1},
            {"twelfth jumps to Done", "ABCDEFGHIJKL", "ABCDEFGHIJKL", 49, 11, -1},
            {"full: preview kept on a command key", "ABCDEFGHIJKL<^^>", "ABCDEFGHIJK0", 29, 11, -1},
            {"full: start replaces the last", "ABCDEFGHIJKL<*", "ABCDEFGHIJK)", 49, 11, -1},
            {"eleven typed: preview kept", "ABCDEFGHIJK<<", "ABCDEFGHIJKJ", 9, 11, 11},
            {"ten typed: preview withdrawn", "ABCDEFGHIJ<", "ABCDEFGHIJ__", 9, 10, 10},
            {"rub with full slots empties two", "ABCDEFGHIJKL{", "ABCDEFGHIJ__", 9, 10, 10},
            {"rub with nothing typed", "{", "____________", 9, 0, 0},
            {"rub", "XY{", "X___________", 9, 1, 1},
            {"clear", "ABC}", "____________", 19, 0, 0},
            {"caps keys type nothing", "/+", "____________", 29, 0, 0},
            {"description starts on A", "/AB=", "A___________", 0, 0, 0},
        };
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("border");
        for (const Row& row : rows) {
            QTest::newRow(row.name)
                << row.script << row.shown << row.key << row.cursor << row.border;
        }
    }

    void shownState() {
        QFETCH(QString, script);
        QFETCH(QString, shown);
        QFETCH(int, key);
        QFETCH(int, cursor);
        QFETCH(int, border);
        KeyboardState state;
        state.Activate();
        Run(state, script);
        QCOMPARE(Slots(state), shown);
        QCOMPARE(int(state.SelectedKey()), key);
        QCOMPARE(int(state.CursorSlot()), cursor);
        for (int slot = 0; slot < KeyboardState::SlotCount; ++slot) {
            QCOMPARE(state.SlotHasBorder(slot), slot == border);
        }
    }

    void storedText_data() {
        struct Row {
            const char* name;
            const char* script;
            const char* listName;
            const char* description;
        };
        const Row rows[] = {
            {"caps on", "Ab1==", "AB1", ""},
            {"caps off", "/Ab1==", "ab1", ""},
            {"caps off then on", "/+ab==", "AB", ""},
            {"punctuation", "/,'~.!@()==", ",'~.!@()", ""},
            {"comma key", ",=,=", ",", ","},
            {"leading underscore kept", "_AB=_AB=", "_AB", "_AB"},
            {"trailing underscores lost", "AB__=A_B_=", "AB", "A_B"},
            {"nothing typed", "==", "____________", ""},
            {"only underscores", "___=___=", "____________", ""},
            {"eleven typed takes the last passed", "ABCDEFGHIJK<<==", "ABCDEFGHIJK)", ""},
            {"full slots", "ABCDEFGHIJKL*=", "ABCDEFGHIJKL", ""},
            {"description after caps off", "/=*=", "____________", "a"},
        };
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        for (const Row& row : rows) {
            QTest::newRow(row.name) << row.script << row.listName << row.description;
        }
    }

    void storedText() {
        QFETCH(QString, script);
        QFETCH(QString, name);
        QFETCH(QString, description);
        KeyboardState state;
        state.Activate();
        QCOMPARE(Run(state, script), Outcome::EntryComplete);
        QCOMPARE(QString::fromStdString(state.CurrentListName()), name);
        QCOMPARE(QString::fromStdString(state.NewListDescription()), description);
    }

    void doneInTheNamePhaseAcceptsTheName() {
        KeyboardState state;
        state.Activate();
        QCOMPARE(Run(state, "AB="), Outcome::NameAccepted);
        QCOMPARE(state.EntryPhase(), std::string("descript"));
        QCOMPARE(state.CurrentListName(), std::string("AB"));
        QCOMPARE(state.KeyDown(Escape), Outcome::Cancelled);
    }
};

QTEST_MAIN(KeyboardStateTest)
#include "keyboard_state_test.moc"
