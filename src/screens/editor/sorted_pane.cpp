#include "screens/editor/sorted_pane.h"

#include "core/textfile/ascii.h"

#include <algorithm>

namespace fav {

bool CaseInsensitiveLess(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        // Compared as bytes, so every byte above 127 sorts after the ASCII ones.
        const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
        const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
        if (x != y) {
            return x < y;
        }
    }
    return a.size() < b.size();
}

void SortedPane::Fill(GameLines lines) {
    if (listener_ != nullptr) {
        listener_->AboutToReset();
    }
    entries_.clear();
    filled_.clear();
    added_.clear();
    files_.clear();
    const GameLines& kept = files_.emplace_back(std::move(lines));
    entries_.reserve(kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        entries_.push_back(kept[i]);
    }
    std::stable_sort(entries_.begin(), entries_.end(), CaseInsensitiveLess);
    selected_ = NoSelection;
    if (listener_ != nullptr) {
        listener_->Reset();
    }
}

void SortedPane::ShowOnly(const std::function<bool(std::string_view)>& keep) {
    if (listener_ != nullptr) {
        listener_->AboutToReset();
    }
    if (filled_.empty()) {
        filled_ = entries_;
    }
    if (keep) {
        entries_.clear();
        std::copy_if(filled_.begin(), filled_.end(), std::back_inserter(entries_), keep);
    } else {
        entries_ = filled_;
    }
    selected_ = NoSelection;
    if (listener_ != nullptr) {
        listener_->Reset();
    }
}

std::vector<std::string> SortedPane::Lines() const {
    return {entries_.begin(), entries_.end()};
}

void SortedPane::Select(int row) {
    selected_ = row >= 0 && row < size() ? row : NoSelection;
}

int SortedPane::Insert(std::string_view line) {
    const auto place =
        std::upper_bound(entries_.begin(), entries_.end(), line, CaseInsensitiveLess);
    const int row = static_cast<int>(place - entries_.begin());
    if (listener_ != nullptr) {
        listener_->AboutToInsert(row);
    }
    entries_.insert(place, added_.emplace_back(line));
    if (selected_ != NoSelection && row <= selected_) {
        ++selected_;
    }
    if (listener_ != nullptr) {
        listener_->Inserted();
    }
    return row;
}

void SortedPane::InsertMany(const std::vector<std::string_view>& lines) {
    if (lines.empty()) {
        return;
    }
    if (listener_ != nullptr) {
        listener_->AboutToReset();
    }
    const char* selectedEntry = selected_ == NoSelection ? nullptr : (*this)[selected_].data();
    std::vector<std::string_view> added;
    added.reserve(lines.size());
    for (const std::string_view line : lines) {
        added.push_back(added_.emplace_back(line));
    }
    std::stable_sort(added.begin(), added.end(), CaseInsensitiveLess);
    // A merge takes equal entries from the first range first: each new line goes after the
    // entries equal to it, as Insert puts it.
    std::vector<std::string_view> merged;
    merged.reserve(entries_.size() + added.size());
    std::merge(entries_.begin(), entries_.end(), added.begin(), added.end(),
               std::back_inserter(merged), CaseInsensitiveLess);
    entries_ = std::move(merged);
    if (selectedEntry != nullptr) {
        const auto found =
            std::find_if(entries_.begin(), entries_.end(), [selectedEntry](std::string_view entry) {
                return entry.data() == selectedEntry;
            });
        selected_ = static_cast<int>(found - entries_.begin());
    }
    if (listener_ != nullptr) {
        listener_->Reset();
    }
}

int SortedPane::RemoveSelected() {
    const int row = selected_;
    if (row == NoSelection) {
        return NoSelection;
    }
    if (listener_ != nullptr) {
        listener_->AboutToRemove(row);
    }
    entries_.erase(entries_.begin() + row);
    selected_ = entries_.empty() ? NoSelection : std::min(row, size() - 1);
    if (listener_ != nullptr) {
        listener_->Removed();
    }
    return row;
}

void SortedPane::PageDown() {
    if (!empty()) {
        selected_ = std::min(selected_ + PageStep, size() - 1);
    }
}

void SortedPane::PageUp() {
    if (!empty()) {
        selected_ = std::max(selected_ - PageStep, 0);
    }
}

int SortedPane::LowerBound(std::string_view text) const {
    return static_cast<int>(
        std::lower_bound(entries_.begin(), entries_.end(), text, CaseInsensitiveLess) -
        entries_.begin());
}

std::pair<int, int> SortedPane::EqualRange(std::string_view line) const {
    const auto [first, last] =
        std::equal_range(entries_.begin(), entries_.end(), line, CaseInsensitiveLess);
    return {static_cast<int>(first - entries_.begin()), static_cast<int>(last - entries_.begin())};
}

void SortedPane::NotifyDecorationChanged(int first, int last) {
    if (listener_ != nullptr && first <= last) {
        listener_->DecorationChanged(first, last);
    }
}

} // namespace fav
