#include "screens/keyboard/keyboard_state.h"

#include <QTest>
#include <cctype>

using namespace fav;

namespace {

constexpr int Start = 49;
constexpr int Escape = 27;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;

using Outcome = KeyboardState::Outcome;

KeyboardState Opened() {
    KeyboardState state;
    state.Activate();
    return state;
}

void MoveTo(KeyboardState& state, int key) {
    while (state.SelectedKey() != key) {
        state.KeyDown(Right);
    }
}

// The key whose caption, leading spaces removed, is the character (letters by their capital).
int KeyFor(char c) {
    const std::string wanted(1, static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    for (int key = 0; key < KeyboardState::KeyCount; ++key) {
        const std::string& caption = KeyboardState::KeyCaption(key);
        if (!KeyboardState::IsCommandKey(key) &&
            caption.substr(caption.find_first_not_of(' ')) == wanted) {
            return key;
        }
    }
    return -1;
}

void Type(KeyboardState& state, const std::string& text) {
    for (char c : text) {
        MoveTo(state, KeyFor(c));
        state.KeyDown(Start);
    }
}

Outcome PressKey(KeyboardState& state, int key) {
    MoveTo(state, key);
    return state.KeyDown(Start);
}

std::string Slots(const KeyboardState& state) {
    std::string text;
    for (int slot = 0; slot < KeyboardState::SlotCount; ++slot) {
        text += state.SlotText(slot) + "|";
    }
    return text;
}

int BorderedSlots(const KeyboardState& state) {
    int count = 0;
    for (int slot = 0; slot < KeyboardState::SlotCount; ++slot) {
        count += state.SlotHasBorder(slot) ? 1 : 0;
    }
    return count;
}

} // namespace

class KeyboardStateTest : public QObject {
    Q_OBJECT

private slots:
    void openingStartsOnACapsOnInTheNamePhase() {
        const KeyboardState state = Opened();
        QCOMPARE(state.EntryPhase(), std::string("name"));
        QCOMPARE(state.CapsState(), std::int16_t(-1));
        QCOMPARE(state.SelectedKey(), std::int16_t(0));
        QCOMPARE(state.CursorSlot(), std::int16_t(0));
        QCOMPARE(Slots(state), std::string("A|_|_|_|_|_|_|_|_|_|_|_|"));
        QVERIFY(state.SlotHasBorder(0));
        QCOMPARE(BorderedSlots(state), 1);
    }

    void movement_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("to");
        for (int c = 1; c <= 9; ++c) {
            QTest::addRow("up from top row column %d", c) << c << Up << 39 + c;
        }
        QTest::newRow("up from A") << 0 << Up << 49;
        for (int c = 0; c <= 8; ++c) {
            QTest::addRow("down from bottom row column %d", c) << 40 + c << Down << c + 1;
        }
        QTest::newRow("down from Done") << 49 << Down << 0;
        QTest::newRow("left from A") << 0 << Left << 49;
        QTest::newRow("right from Done") << 49 << Right << 0;
        QTest::newRow("right from Rub") << 9 << Right << 10;
        QTest::newRow("left from J") << 10 << Left << 9;
        QTest::newRow("down inside the grid") << 3 << Down << 13;
        QTest::newRow("up inside the grid") << 25 << Up << 15;
        QTest::newRow("down onto Done") << 39 << Down << 49;
        QTest::newRow("up from Done") << 49 << Up << 39;
        QTest::newRow("other key stays") << 12 << 17 << 12;
    }

    void movement() {
        QFETCH(int, from);
        QFETCH(int, keyCode);
        QFETCH(int, to);
        KeyboardState state = Opened();
        MoveTo(state, from);
        QCOMPARE(state.KeyDown(keyCode), Outcome::None);
        QCOMPARE(int(state.SelectedKey()), to);
        // The cursor slot previews a character key and is withdrawn on a command key.
        const std::string preview =
            KeyboardState::IsCommandKey(to) ? "_" : KeyboardState::KeyCaption(to);
        QCOMPARE(state.SlotText(0), preview);
        QCOMPARE(state.CursorSlot(), std::int16_t(0));
    }

    void typing_data() {
        QTest::addColumn<QList<int>>("capsKeys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        const int on = KeyboardState::CapsOnKey;
        const int off = KeyboardState::CapsOffKey;
        QTest::newRow("caps on") << QList<int>{} << "Ab1"
                                 << "AB1";
        QTest::newRow("caps off") << QList<int>{off} << "Ab1"
                                  << "ab1";
        QTest::newRow("caps off then on") << QList<int>{off, on} << "ab"
                                          << "AB";
        QTest::newRow("punctuation either way") << QList<int>{off} << ",'~.!@("
                                                << ",'~.!@(";
        QTest::newRow("digits either way") << QList<int>{off} << "0123456789"
                                           << "0123456789";
    }

    void typing() {
        QFETCH(QList<int>, capsKeys);
        QFETCH(QString, typed);
        QFETCH(QString, name);
        KeyboardState state = Opened();
        for (int key : capsKeys) {
            PressKey(state, key);
        }
        if (!capsKeys.isEmpty()) { // the caps keys type nothing
            QCOMPARE(state.CursorSlot(), std::int16_t(0));
            QCOMPARE(state.SlotText(0), std::string("_"));
        }
        Type(state, typed.toStdString());
        QCOMPARE(int(state.CursorSlot()), typed.size());
        QCOMPARE(PressKey(state, KeyboardState::DoneKey), Outcome::NameAccepted);
        QCOMPARE(QString::fromStdString(state.CurrentListName()), name);
    }

    void twelfthCharacterJumpsToDone() {
        KeyboardState state = Opened();
        Type(state, "ABCDEFGHIJKL");
        QCOMPARE(state.SelectedKey(), std::int16_t(KeyboardState::DoneKey));
        QCOMPARE(state.CursorSlot(), std::int16_t(11));
        QCOMPARE(BorderedSlots(state), 0);
        QCOMPARE(state.SlotText(11), std::string("L"));
        QCOMPARE(state.KeyDown(Start), Outcome::NameAccepted);
        QCOMPARE(state.CurrentListName(), std::string("ABCDEFGHIJKL"));
    }

    void fullSlotsPreviewInTheLastSlot() {
        KeyboardState state = Opened();
        Type(state, "ABCDEFGHIJKL");
        state.KeyDown(Left); // ")"
        QCOMPARE(state.SlotText(11), std::string(")"));
        state.KeyDown(Up);    // "9"
        state.KeyDown(Up);    // "0"
        state.KeyDown(Right); // "Caps ON": the preview stays
        QCOMPARE(state.SlotText(11), std::string("0"));
        state.KeyDown(Down);
        state.KeyDown(Down);
        QCOMPARE(state.SelectedKey(), std::int16_t(KeyboardState::DoneKey));
        QCOMPARE(state.KeyDown(Start), Outcome::NameAccepted);
        QCOMPARE(state.CurrentListName(), std::string("ABCDEFGHIJK0"));
    }

    void fullSlotsStartReplacesTheLastCharacter() {
        KeyboardState state = Opened();
        Type(state, "ABCDEFGHIJKL");
        state.KeyDown(Left);
        state.KeyDown(Start);
        QCOMPARE(state.SelectedKey(), std::int16_t(KeyboardState::DoneKey));
        QCOMPARE(state.CursorSlot(), std::int16_t(11));
        QCOMPARE(BorderedSlots(state), 0);
        state.KeyDown(Start);
        QCOMPARE(state.CurrentListName(), std::string("ABCDEFGHIJK)"));
    }

    void previewOnTheLastSlot_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        // Typed, then left onto "Rub" (passing "J") and down to "Done".
        QTest::newRow("eleven typed keeps the passed character") << "ABCDEFGHIJK"
                                                                 << "ABCDEFGHIJKJ";
        QTest::newRow("ten typed withdraws it") << "ABCDEFGHIJ"
                                                << "ABCDEFGHIJ";
    }

    void previewOnTheLastSlot() {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        KeyboardState state = Opened();
        Type(state, typed.toStdString());
        MoveTo(state, 10); // "J"
        state.KeyDown(Left);
        QCOMPARE(state.SelectedKey(), std::int16_t(KeyboardState::RubKey));
        for (int i = 0; i < 4; ++i) {
            state.KeyDown(Down);
        }
        QCOMPARE(state.SelectedKey(), std::int16_t(KeyboardState::DoneKey));
        state.KeyDown(Start);
        QCOMPARE(QString::fromStdString(state.CurrentListName()), name);
    }

    void rub_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("cursor");
        QTest::newRow("nothing typed") << ""
                                       << "_|_|_|_|_|_|_|_|_|_|_|_|" << 0;
        QTest::newRow("two typed") << "XY"
                                   << "X|_|_|_|_|_|_|_|_|_|_|_|" << 1;
        QTest::newRow("full slots empty two") << "ABCDEFGHIJKL"
                                              << "A|B|C|D|E|F|G|H|I|J|_|_|" << 10;
    }

    void rub() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, cursor);
        KeyboardState state = Opened();
        Type(state, typed.toStdString());
        PressKey(state, KeyboardState::RubKey);
        QCOMPARE(QString::fromStdString(Slots(state)), shown);
        QCOMPARE(int(state.CursorSlot()), cursor);
        QVERIFY(state.SlotHasBorder(cursor));
        QCOMPARE(BorderedSlots(state), 1);
    }

    void clearEmptiesEverySlot() {
        KeyboardState state = Opened();
        Type(state, "ABCDE");
        PressKey(state, KeyboardState::ClearKey);
        QCOMPARE(Slots(state), std::string("_|_|_|_|_|_|_|_|_|_|_|_|"));
        QCOMPARE(state.CursorSlot(), std::int16_t(0));
        QVERIFY(state.SlotHasBorder(0));
        QCOMPARE(BorderedSlots(state), 1);
        Type(state, "Z");
        PressKey(state, KeyboardState::DoneKey);
        QCOMPARE(state.CurrentListName(), std::string("Z"));
    }

    void storedText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("comma key") << ","
                                   << ","
                                   << ",";
        QTest::newRow("leading underscore kept") << "_AB"
                                                 << "_AB"
                                                 << "_AB";
        QTest::newRow("trailing underscores lost") << "AB__"
                                                   << "AB"
                                                   << "AB";
        QTest::newRow("inner underscore kept") << "A_B_"
                                               << "A_B"
                                               << "A_B";
        QTest::newRow("nothing typed") << ""
                                       << "____________"
                                       << "";
        QTest::newRow("only underscores") << "___"
                                          << "____________"
                                          << "";
    }

    void storedText() {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QString, description);
        KeyboardState state = Opened();
        Type(state, typed.toStdString());
        if (typed == ",") {
            QCOMPARE(state.SlotText(0), std::string(" ,"));
        }
        QCOMPARE(PressKey(state, KeyboardState::DoneKey), Outcome::NameAccepted);
        Type(state, typed.toStdString());
        QCOMPARE(PressKey(state, KeyboardState::DoneKey), Outcome::EntryComplete);
        QCOMPARE(QString::fromStdString(state.CurrentListName()), name);
        QCOMPARE(QString::fromStdString(state.NewListDescription()), description);
    }

    void descriptionPhaseStartsOnA() {
        KeyboardState state = Opened();
        PressKey(state, KeyboardState::CapsOffKey);
        Type(state, "ab");
        QCOMPARE(PressKey(state, KeyboardState::DoneKey), Outcome::NameAccepted);
        QCOMPARE(state.EntryPhase(), std::string("descript"));
        QCOMPARE(state.SelectedKey(), std::int16_t(0));
        QCOMPARE(state.CursorSlot(), std::int16_t(0));
        QCOMPARE(state.CapsState(), std::int16_t(0));
        QCOMPARE(Slots(state), std::string("A|_|_|_|_|_|_|_|_|_|_|_|"));
        QCOMPARE(BorderedSlots(state), 1);
        state.KeyDown(Start);
        QCOMPARE(state.SlotText(0), std::string("a"));
        QCOMPARE(PressKey(state, KeyboardState::DoneKey), Outcome::EntryComplete);
        QCOMPARE(state.CurrentListName(), std::string("ab"));
        QCOMPARE(state.NewListDescription(), std::string("a"));
    }

    void escapeCancels() {
        KeyboardState state = Opened();
        Type(state, "AB");
        QCOMPARE(state.KeyDown(Escape), Outcome::Cancelled);
        QCOMPARE(state.CurrentListName(), std::string());
    }
};

QTEST_MAIN(KeyboardStateTest)
#include "keyboard_state_test.moc"
