#include "core/input/pad_keys.h"

#include "core/input/arcade_keys.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace fav {

bool IsDirectionKey(int arcadeKey) {
    return arcadeKey >= ArcadeKey::Left && arcadeKey <= ArcadeKey::Down;
}

PadKeys::Changes PadKeys::Hold(const Input& input, int arcadeKey, std::int64_t now) {
    Changes changes;
    if (arcadeKey == 0) {
        return changes;
    }
    const auto [held, fresh] = held_.try_emplace(input, arcadeKey);
    if (!fresh) {
        if (held->second == arcadeKey) {
            return changes;
        }
        // The same input now stands for another key (a hat turned from one side to another).
        changes = Let(input);
        held_[input] = arcadeKey;
    }
    if (holders_[arcadeKey]++ == 0) {
        changes.push_back({arcadeKey, true});
        if (IsDirectionKey(arcadeKey)) {
            nextRepeat_[arcadeKey] = now + RepeatDelayMs;
        }
    }
    return changes;
}

PadKeys::Changes PadKeys::Let(const Input& input) {
    Changes changes;
    const auto held = held_.find(input);
    if (held == held_.end()) {
        return changes;
    }
    const int arcadeKey = held->second;
    held_.erase(held);
    if (--holders_[arcadeKey] == 0) {
        holders_.erase(arcadeKey);
        nextRepeat_.erase(arcadeKey);
        changes.push_back({arcadeKey, false});
    }
    return changes;
}

PadKeys::Changes PadKeys::Digital(int device, int input, int arcadeKey, bool down,
                                  std::int64_t now) {
    return down ? Hold({device, input}, arcadeKey, now) : Let({device, input});
}

PadKeys::Changes PadKeys::Axis(int device, int input, int value, int negativeKey, int positiveKey,
                               std::int64_t now) {
    const Input axis{device, input};
    const auto side = axisSides_.find(axis);
    const int was = side == axisSides_.end() ? 0 : side->second;
    int newSide = was;
    if (was == 0 || std::abs(value) < ReleaseAt || (value < 0) != (was < 0)) {
        newSide = value <= -PressAt ? -1 : value >= PressAt ? 1 : 0;
    }
    if (newSide == was) {
        return {};
    }
    Changes changes = Let(axis);
    if (newSide == 0) {
        axisSides_.erase(axis);
        return changes;
    }
    axisSides_[axis] = newSide;
    const Changes pressed = Hold(axis, newSide < 0 ? negativeKey : positiveKey, now);
    changes.insert(changes.end(), pressed.begin(), pressed.end());
    return changes;
}

PadKeys::Changes PadKeys::Detach(int device) {
    Changes changes;
    for (auto held = held_.lower_bound({device, std::numeric_limits<int>::min()});
         held != held_.end() && held->first.first == device;) {
        const Input input = (held++)->first;
        const Changes let = Let(input);
        changes.insert(changes.end(), let.begin(), let.end());
    }
    std::erase_if(axisSides_, [device](const auto& side) { return side.first.first == device; });
    return changes;
}

PadKeys::Changes PadKeys::ReleaseAll() {
    Changes changes;
    for (const auto& [arcadeKey, count] : holders_) {
        changes.push_back({arcadeKey, false});
    }
    held_.clear();
    axisSides_.clear();
    holders_.clear();
    nextRepeat_.clear();
    return changes;
}

std::vector<int> PadKeys::DueRepeats(std::int64_t now) {
    std::vector<int> due;
    for (auto& [arcadeKey, next] : nextRepeat_) {
        if (next <= now) {
            due.push_back(arcadeKey);
            // A late poll repeats once, not in a burst.
            next = std::max(next + RepeatIntervalMs, now + 1);
        }
    }
    return due;
}

std::optional<std::int64_t> PadKeys::NextRepeat() const {
    std::optional<std::int64_t> next;
    for (const auto& [arcadeKey, when] : nextRepeat_) {
        next = next ? std::min(*next, when) : when;
    }
    return next;
}

bool PadKeys::IsDown(int arcadeKey) const {
    return holders_.contains(arcadeKey);
}

} // namespace fav
