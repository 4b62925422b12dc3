#include "core/input/control_teaching.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace fav {

namespace {

// SDL's names for the cabinet's controls, in the order they are taught.
constexpr std::array<const char*, 8> ControlNames = {"dpup",  "dpdown", "dpleft", "dpright",
                                                     "start", "back",   "a",      "b"};

} // namespace

ControlTeaching::ControlTeaching(std::vector<int> axisRest) : axisRest_(std::move(axisRest)) {}

std::vector<ControlTeaching::Binding> ControlTeaching::Bindings(const RawInput& input) const {
    const std::string index = std::to_string(input.index);
    switch (input.kind) {
    case RawInput::Kind::Button:
        return {{"b" + index, input.value != 0}};
    case RawInput::Kind::Hat: {
        std::vector<Binding> bindings;
        for (const int bit : {1, 2, 4, 8}) {
            bindings.push_back({"h" + index + "." + std::to_string(bit), (input.value & bit) != 0});
        }
        return bindings;
    }
    case RawInput::Kind::Axis: {
        const std::size_t axis = static_cast<std::size_t>(std::max(input.index, 0));
        const int rest = axis < axisRest_.size() ? axisRest_[axis] : 0;
        const int away = input.value - rest;
        const Binding negative{"-a" + index, away <= -PressAt};
        const Binding positive{"+a" + index, away >= PressAt};
        if (negative.pressed || positive.pressed || std::abs(away) < ReleaseAt) {
            return {negative, positive};
        }
        return {}; // between let go and pressed: as it was
    }
    }
    return {};
}

ControlTeaching::Heard ControlTeaching::Hear(const RawInput& input, std::int64_t now) {
    Heard heard = Heard::Nothing;
    for (const Binding& binding : Bindings(input)) {
        if (!binding.pressed) {
            if (held_ == binding.name) {
                held_.reset();
                if (advanceOnRelease_) {
                    advanceOnRelease_ = false;
                    Advance();
                }
            }
        } else if (!held_) {
            // One input at a time: another pressed meanwhile counts for nothing.
            heard = Press(binding.name, now);
        }
    }
    return heard;
}

ControlTeaching::Heard ControlTeaching::Press(const std::string& name, std::int64_t now) {
    held_ = name;
    heldSince_ = now;
    if (Finished()) {
        return Heard::Nothing;
    }
    if (const auto owner = GivenTo(name)) {
        if (MayBeSkipped() && *owner == Step::Start) {
            given_.emplace_back();
            advanceOnRelease_ = true;
            return Heard::Skipped;
        }
        lastRefused_ = name;
        return Heard::AlreadyGiven;
    }
    given_.push_back(name);
    advanceOnRelease_ = true;
    return Heard::Taken;
}

void ControlTeaching::Advance() {
    if (Finished()) {
        return;
    }
    step_ = step_ == Step::Action2 ? Step::Done : static_cast<Step>(static_cast<int>(step_) + 1);
}

void ControlTeaching::Tick(std::int64_t now) {
    if (held_ && !Finished() && now - heldSince_ >= HoldToLeaveMs) {
        step_ = Step::Cancelled;
    }
}

std::optional<ControlTeaching::Step> ControlTeaching::GivenTo(const std::string& binding) const {
    const auto given = std::find(given_.begin(), given_.end(), binding);
    if (given == given_.end()) {
        return std::nullopt;
    }
    return static_cast<Step>(given - given_.begin());
}

std::vector<TaughtInput> ControlTeaching::Taught() const {
    std::vector<TaughtInput> taught;
    for (std::size_t step = 0; step < given_.size() && step < ControlNames.size(); ++step) {
        if (!given_[step].empty()) {
            taught.push_back({ControlNames[step], given_[step]});
        }
    }
    return taught;
}

} // namespace fav
