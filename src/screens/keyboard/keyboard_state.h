#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace fav {

// The on-screen keyboard without its window: the highlighted key, the cursor slot, the caps state,
// the entry phase and what the twelve slots show. The window only displays it.
//
// Keys are numbered 10 * row + column over five rows of ten; column 9 holds the command keys.
class KeyboardState {
public:
    static constexpr int KeyCount = 50;
    static constexpr int SlotCount = 12;
    static constexpr int RubKey = 9;
    static constexpr int ClearKey = 19;
    static constexpr int CapsOnKey = 29;
    static constexpr int CapsOffKey = 39;
    static constexpr int DoneKey = 49;

    // The key's caption exactly as drawn (" ," begins with a space); empty outside 0-49.
    static const std::string& KeyCaption(int key);
    static bool IsCommandKey(int key);

    // What a key handler asks of the window.
    enum class Outcome {
        None,          // show the new state
        NameAccepted,  // the name is final; the description phase has begun
        EntryComplete, // name and description are final: hand over to the verify screen
        Cancelled,     // ESC: leave without storing anything more
    };

    // The state every opening starts from.
    void Activate();
    // One key-down with its key code (arcade numbering).
    Outcome KeyDown(int keyCode);
    // The "Done" key: accepts the slots as the name or, in the description phase, the description.
    Outcome CompleteEntry();

    std::int16_t SelectedKey() const { return selectedKey_; }
    std::int16_t CursorSlot() const { return cursorSlot_; }
    std::int16_t CapsState() const { return capsState_; }
    const std::string& EntryPhase() const { return entryPhase_; }
    bool InNamePhase() const { return entryPhase_ == "name"; }

    const std::string& SlotText(int slot) const { return slots_.at(slot); }
    bool SlotHasBorder(int slot) const { return slotBorders_.at(slot); }

    // The accepted values; the name is set once the name phase ends.
    const std::string& CurrentListName() const { return currentListName_; }
    const std::string& NewListDescription() const { return newListDescription_; }

private:
    // The caption a character key types: letters lower-cased when caps are off.
    std::string Typed(int key) const;
    // The twelve slots as text, leading spaces of each removed.
    std::string SlotsText() const;
    void EmptySlots();
    void BorderOnlyOn(int slot);

    std::int16_t selectedKey_ = 0;
    std::int16_t cursorSlot_ = 0;
    std::int16_t capsState_ = -1;
    std::string entryPhase_ = "name";
    std::array<std::string, SlotCount> slots_;
    std::array<bool, SlotCount> slotBorders_{};
    std::string currentListName_;
    std::string newListDescription_;
};

} // namespace fav
