#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace fav {

// Turns what the controllers do into the cabinet's keys going down and up, by the keyboard's
// rules: a key is down while any input of any controller holds it, a held direction repeats,
// and a controller unplugged lets go of everything it held.
//
// An input is named by its controller (`device`, any number that stays the same while it is
// plugged in) and a number of the caller's choosing for one button, hat or axis, different for
// each of them.
// Keys are ArcadeKey codes; times are in milliseconds on any steady clock.
class PadKeys {
public:
    struct Change {
        int arcadeKey = 0;
        bool down = false;
        bool operator==(const Change&) const = default;
    };
    using Changes = std::vector<Change>;

    // An axis is pressed beyond PressAt from its centre and let go only back inside ReleaseAt,
    // so a stick resting near the edge of the dead zone does not chatter.
    static constexpr int PressAt = 16000;
    static constexpr int ReleaseAt = 10000;
    // A held direction repeats after RepeatDelayMs, then every RepeatIntervalMs.
    static constexpr std::int64_t RepeatDelayMs = 400;
    static constexpr std::int64_t RepeatIntervalMs = 80;

    // A button or hat direction that stands for `arcadeKey` went down or up.
    Changes Digital(int device, int input, int arcadeKey, bool down, std::int64_t now);
    // An axis moved to `value` (-32768 to 32767): its negative side stands for `negativeKey`, its
    // positive side for `positiveKey` (0 for none).
    Changes Axis(int device, int input, int value, int negativeKey, int positiveKey,
                 std::int64_t now);
    // The controller is gone: whatever it held goes up.
    Changes Detach(int device);
    // Every key goes up: the program stops listening (a screen that takes the raw controls).
    Changes ReleaseAll();

    // The direction keys whose next repeat is due at `now`, each once; the next is then due
    // RepeatIntervalMs later.
    std::vector<int> DueRepeats(std::int64_t now);
    // When the next repeat is due, if a direction is held.
    std::optional<std::int64_t> NextRepeat() const;

    bool IsDown(int arcadeKey) const;

private:
    using Input = std::pair<int, int>; // device, input
    Changes Hold(const Input& input, int arcadeKey, std::int64_t now);
    Changes Let(const Input& input);

    std::map<Input, int> held_;              // each holding input, and the key it holds
    std::map<Input, int> axisSides_;         // an axis held to one side: -1 or 1
    std::map<int, int> holders_;             // a key held down, and by how many inputs
    std::map<int, std::int64_t> nextRepeat_; // a held direction, and when it next repeats
};

// True for the joystick's four directions, the keys that repeat while held.
bool IsDirectionKey(int arcadeKey);

} // namespace fav
