#include "screens/keyboard/keyboard_state.h"

#include "core/input/arcade_keys.h"
#include "core/textfile/ascii.h"

namespace fav {

namespace {

constexpr std::int16_t CapsOn = -1;
constexpr std::int16_t CapsOff = 0;

const std::array<std::string, KeyboardState::KeyCount> Captions = {
    "A",  "B",  "C",  "D",  "E", "F", "G", "H",  "I", "Rub",      //
    "J",  "K",  "L",  "M",  "N", "O", "P", "Q",  "R", "Clear",    //
    "S",  "T",  "U",  "V",  "W", "X", "Y", "Z",  "0", "Caps ON",  //
    "1",  "2",  "3",  "4",  "5", "6", "7", "8",  "9", "Caps Off", //
    " ,", " '", " ~", " .", "!", "@", "_", " (", ")", "Done",
};

const std::string EmptySlot = "_";

// Cuts trailing "_" by scanning from the last position back to the first; a text made of "_"
// alone is left as it is.
std::string StripTrailingUnderscores(const std::string& text) {
    for (std::size_t position = text.size(); position >= 1; --position) {
        if (text[position - 1] != '_') {
            return text.substr(0, position);
        }
    }
    return text;
}

} // namespace

const std::string& KeyboardState::KeyCaption(int key) {
    static const std::string none;
    return key >= 0 && key < KeyCount ? Captions[key] : none;
}

bool KeyboardState::IsCommandKey(int key) {
    return key % 10 == 9;
}

std::string KeyboardState::Typed(int key) const {
    std::string text = KeyCaption(key);
    if (capsState_ == CapsOff) {
        for (char& c : text) {
            c = AsciiLower(c);
        }
    }
    return text;
}

void KeyboardState::EmptySlots() {
    slots_.fill(EmptySlot);
    slotBorders_.fill(false);
}

void KeyboardState::BorderOnlyOn(int slot) {
    slotBorders_.fill(false);
    slotBorders_.at(slot) = true;
}

void KeyboardState::Activate() {
    entryPhase_ = "name";
    capsState_ = CapsOn;
    EmptySlots();
    cursorSlot_ = 0;
    slotBorders_[0] = true;
    slots_[0] = KeyCaption(0);
    selectedKey_ = 0;
    currentListName_.clear();
    newListDescription_.clear();
}

KeyboardState::Outcome KeyboardState::KeyDown(int keyCode) {
    Outcome outcome = Outcome::None;

    if (keyCode == ArcadeKey::Player1Start) {
        if (selectedKey_ == CapsOnKey) {
            capsState_ = CapsOn;
        }
        if (selectedKey_ == CapsOffKey) {
            capsState_ = CapsOff;
        }
        if (selectedKey_ == DoneKey) {
            return CompleteEntry();
        }
        if (selectedKey_ == ClearKey) {
            EmptySlots();
            cursorSlot_ = 0;
            slotBorders_[0] = true;
        }
        if (selectedKey_ == RubKey) {
            slotBorders_[cursorSlot_] = false;
            slots_[cursorSlot_] = EmptySlot;
            if (cursorSlot_ > 0) {
                --cursorSlot_;
            }
            slotBorders_[cursorSlot_] = true;
        }
        if (!IsCommandKey(selectedKey_)) {
            slots_[cursorSlot_] = Typed(selectedKey_);
            ++cursorSlot_;
            if (cursorSlot_ == SlotCount) {
                selectedKey_ = DoneKey;
                slotBorders_[SlotCount - 1] = false;
                cursorSlot_ = SlotCount - 1;
            } else {
                BorderOnlyOn(cursorSlot_);
            }
        }
    }

    if (keyCode == ArcadeKey::Left) {
        --selectedKey_;
        if (selectedKey_ == -1) {
            selectedKey_ = 49;
        }
    }
    if (keyCode == ArcadeKey::Right) {
        ++selectedKey_;
        if (selectedKey_ == 50) {
            selectedKey_ = 0;
        }
    }
    if (keyCode == ArcadeKey::Up) {
        selectedKey_ -= 10;
    }
    if (keyCode == ArcadeKey::Down) {
        selectedKey_ += 10;
    }

    if (keyCode == ArcadeKey::Escape) {
        outcome = Outcome::Cancelled;
    }

    // Back into 0-49. The order and the 49 (not 50) are what make up and down walk the keys
    // column by column as one ring.
    if (selectedKey_ == 59) {
        selectedKey_ = 0;
    }
    if (selectedKey_ == -10) {
        selectedKey_ = 49;
    }
    if (selectedKey_ > 49) {
        selectedKey_ -= 49;
    }
    if (selectedKey_ < 0) {
        selectedKey_ += 49;
    }

    // On the last slot the preview stays, so "Done" takes the last character passed over.
    if (IsCommandKey(selectedKey_) && cursorSlot_ < SlotCount - 1) {
        slots_[cursorSlot_] = EmptySlot;
    }
    if (!IsCommandKey(selectedKey_)) {
        slots_[cursorSlot_] = Typed(selectedKey_);
    }
    return outcome;
}

std::string KeyboardState::SlotsText() const {
    std::string text;
    for (const std::string& slot : slots_) {
        const std::size_t first = slot.find_first_not_of(' ');
        text += first == std::string::npos ? EmptySlot : slot.substr(first);
    }
    return text;
}

KeyboardState::Outcome KeyboardState::CompleteEntry() {
    const std::string text = SlotsText();
    if (entryPhase_ == "name") {
        currentListName_.clear();
        currentListName_ = StripTrailingUnderscores(text);
        entryPhase_ = "descript";
        EmptySlots();
        cursorSlot_ = 0;
        selectedKey_ = 0;
        slotBorders_[0] = true;
        slots_[0] = KeyCaption(0);
        return Outcome::NameAccepted;
    }
    newListDescription_.clear();
    newListDescription_ = text == std::string(SlotCount, '_') ? "" : StripTrailingUnderscores(text);
    EmptySlots();
    cursorSlot_ = 0;
    return Outcome::EntryComplete;
}

} // namespace fav
