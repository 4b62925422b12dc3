#include "app/key_gate.h"

#include "app/arcade_key.h"

namespace fav {

namespace {

bool ActsOnFreshPressOnly(int arcadeKey) {
    return arcadeKey == ArcadeKey::Player1Start || arcadeKey == ArcadeKey::Escape;
}

} // namespace

bool KeyGate::Press(int key, int arcadeKey, bool autoRepeat, std::uint64_t time) {
    bool repeat = autoRepeat;
    if (!repeat && lastRelease_ && lastRelease_->key == key && time != 0 &&
        lastRelease_->time == time) {
        // The release just seen was the first half of a repeat: the key never went up.
        repeat = true;
        down_[key] = lastRelease_->held;
    }
    lastRelease_.reset();
    lastPressRepeated_ = repeat;

    if (!repeat) {
        // Also a press after a release this program never saw: the user pressed it again.
        down_[key] = Held{arcadeKey, false};
        return true;
    }
    auto found = down_.find(key);
    if (found == down_.end()) {
        // Held since before anything of this program was there to see it go down.
        down_[key] = Held{arcadeKey, true};
        return false;
    }
    if (found->second.heldOver) {
        return false;
    }
    return !ActsOnFreshPressOnly(arcadeKey);
}

bool KeyGate::Release(int key, bool autoRepeat, std::uint64_t time) {
    if (autoRepeat) {
        return false;
    }
    auto found = down_.find(key);
    if (found == down_.end() && lastRelease_ && lastRelease_->key == key) {
        // The same release again, passed on from a control to its parents.
        return false;
    }
    Held held;
    if (found != down_.end()) {
        held = found->second;
        down_.erase(found);
    }
    lastRelease_ = Released{key, time, held};
    return true;
}

void KeyGate::ScreenAppeared() {
    for (auto& [key, held] : down_) {
        held.heldOver = true;
    }
}

bool KeyGate::IsDown(int arcadeKey) const {
    for (const auto& [key, held] : down_) {
        if (held.arcadeKey == arcadeKey) {
            return true;
        }
    }
    return false;
}

} // namespace fav
