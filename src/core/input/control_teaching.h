#pragma once

#include "core/input/controller_mappings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fav {

// One thing a controller did, as it comes from the device: a button, a hat or an axis.
struct RawInput {
    enum class Kind { Button, Hat, Axis };
    Kind kind = Kind::Button;
    int index = 0;
    // A button: 1 down, 0 up. A hat: its direction bits (1 up, 2 right, 4 down, 8 left). An axis:
    // its position, -32768 to 32767.
    int value = 0;
};

// Teaching a controller the cabinet's controls from the controller itself: one control at a time,
// each by a button, a hat direction or an axis moved away from its rest, the next asked only once
// that input is let go. An input already given is refused. The two action buttons may be skipped
// with the Player 1 Start just taught. Holding any input for HoldToLeaveMs leaves without a
// mapping, so no step waits for a control the controller lacks.
class ControlTeaching {
public:
    enum class Step { Up, Down, Left, Right, Start, Exit, Action1, Action2, Done, Cancelled };
    enum class Heard {
        Nothing,      // nothing new: a release, a small move, an input while one is held
        Taken,        // the step's control is this input
        AlreadyGiven, // refused: it is another control's already
        Skipped,      // the action button's step is skipped
    };

    static constexpr int PressAt = 16000;
    static constexpr int ReleaseAt = 10000;
    static constexpr std::int64_t HoldToLeaveMs = 3000;

    // `axisRest`: where each axis rests, read when teaching begins (a trigger rests at one end).
    explicit ControlTeaching(std::vector<int> axisRest = {});

    Heard Hear(const RawInput& input, std::int64_t now);
    // Time passes: an input held long enough leaves.
    void Tick(std::int64_t now);

    Step step() const { return step_; }
    bool Finished() const { return step_ == Step::Done || step_ == Step::Cancelled; }
    bool MayBeSkipped() const { return step_ == Step::Action1 || step_ == Step::Action2; }
    // The step whose control `binding` already is, for saying so.
    std::optional<Step> GivenTo(const std::string& binding) const;
    // The input last refused, in SDL's words ("b3").
    const std::string& LastRefused() const { return lastRefused_; }

    // What was taught, in SDL's names for the controls.
    std::vector<TaughtInput> Taught() const;

private:
    // An input's SDL name and whether it is pressed now; nothing for a move that changes neither.
    struct Binding {
        std::string name;
        bool pressed = false;
    };
    std::vector<Binding> Bindings(const RawInput& input) const;
    Heard Press(const std::string& name, std::int64_t now);
    void Advance();

    std::vector<int> axisRest_;
    Step step_ = Step::Up;
    std::vector<std::string> given_; // by step; empty for a skipped one
    std::optional<std::string> held_;
    std::int64_t heldSince_ = 0;
    bool advanceOnRelease_ = false;
    std::string lastRefused_;
};

} // namespace fav
