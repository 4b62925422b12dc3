#include "screens/editor/editor_panes.h"
#include "screens/editor/filter_panel.h"
#include "screens/editor/held_paging.h"
#include "screens/editor/jump_panel.h"
#include "screens/editor/sorted_pane.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <queue>
#include <string>
#include <vector>

namespace fav {
namespace {

GameLines Lines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line + "\r\n";
    }
    return GameLines(bytes);
}

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "g%03d", i);
        lines.emplace_back(line);
    }
    return lines;
}

TEST(SortedPane, Paging) {
    const struct {
        const char* name;
        int entries, selected;
        bool down;
        int expected;
    } cases[] = {
        {"100, down from 10", 100, 10, true, 37},
        {"100, down from 90", 100, 90, true, 99},
        {"100, up from 30", 100, 30, false, 3},
        {"100, up from 20", 100, 20, false, 0},
        {"27, down", 27, 0, true, 26},
        {"27, up", 27, 26, false, 0},
        {"nothing selected, down", 100, -1, true, 26},
        {"nothing selected, up", 100, -1, false, 0},
        {"empty", 0, -1, true, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SortedPane pane;
        pane.Fill(Lines(Numbered(c.entries)));
        pane.Select(c.selected);
        c.down ? pane.PageDown() : pane.PageUp();
        EXPECT_EQ(pane.selected(), c.expected);
    }
}

TEST(HeldPaging, RepeatsFasterTheLongerItIsHeldAndStopsWhenReleased) {
    HeldPaging held;
    EXPECT_EQ(held.UntilNext(0), -1);
    EXPECT_EQ(held.Press(HeldPaging::Button::PageUp, 1000), HeldPaging::Pressed::Alone);
    EXPECT_EQ(held.Tick(1399), 0);
    EXPECT_EQ(held.UntilNext(1399), 1);
    EXPECT_EQ(held.Tick(1400), 1);
    EXPECT_EQ(held.Tick(1449), 0);
    EXPECT_EQ(held.UntilNext(1449), 1);
    // A late tick catches up with every repeat due since the last.
    EXPECT_EQ(held.Tick(1600), 4);
    EXPECT_EQ(held.UntilNext(1610), 40);
    held.Release(HeldPaging::Button::PageUp);
    EXPECT_FALSE(held.Repeating());

    // Held from the start: one page a repeat for the first two seconds, so a few pages can
    // still be aimed; a current MAME's whole list of 45,294 is crossed within 15 seconds.
    held.Press(HeldPaging::Button::PageDown, 0);
    int pages = 0;
    for (std::int64_t now = 0; now <= 2350; now += 10) {
        pages += held.Tick(now);
    }
    EXPECT_EQ(pages, 40);
    for (std::int64_t now = 2360; now <= 15000; now += 10) {
        pages += held.Tick(now);
    }
    EXPECT_GE(pages * PageStep, 45294);
    EXPECT_EQ(HeldPaging::PagesOfRepeat(100000), HeldPaging::MostPagesPerRepeat);

    held.Release(HeldPaging::Button::PageUp);
    EXPECT_TRUE(held.Repeating());
    held.Release(HeldPaging::Button::PageDown);
    EXPECT_FALSE(held.Repeating());
    EXPECT_EQ(held.Tick(20000), 0);
    EXPECT_EQ(held.UntilNext(20000), -1);
    // A clock far ahead neither hangs nor overflows.
    held.Press(HeldPaging::Button::PageDown, 0);
    EXPECT_EQ(held.Tick(std::int64_t{1} << 50) / 1000, 4);
}

TEST(HeldPaging, BothButtonsStopTheRepeatUntilAFreshPress) {
    using B = HeldPaging::Button;
    HeldPaging held;
    held.Press(B::PageDown, 0);
    EXPECT_EQ(held.Press(B::PageUp, 100), HeldPaging::Pressed::Both);
    EXPECT_FALSE(held.Repeating());
    EXPECT_EQ(held.Tick(5000), 0);
    held.Release(B::PageUp);
    EXPECT_TRUE(held.IsDown(B::PageDown) && !held.IsDown(B::PageUp));
    EXPECT_EQ(held.Tick(6000), 0);
    EXPECT_EQ(held.Press(B::PageUp, 6000), HeldPaging::Pressed::Both);
    held.Release(B::PageDown);
    held.Release(B::PageUp);
    EXPECT_EQ(held.Press(B::PageUp, 7000), HeldPaging::Pressed::Alone);
    EXPECT_TRUE(held.Repeating() && held.RepeatingButton() == B::PageUp);
    held.ReleaseAll();
    EXPECT_TRUE(!held.Repeating() && !held.IsDown(B::PageUp));
    EXPECT_EQ(held.Press(B::PageDown, 8000), HeldPaging::Pressed::Alone);
}

// Keys of the jump panel: l, u, r, d move the cursor, s types the key under it, b removes the
// last character, o opens the panel afresh.
TEST(JumpPanel, Keys) {
    const struct {
        const char* name;
        std::string keys;
        char cursor;
        std::string prefix;
    } cases[] = {
        {"opened", "", 'A', ""},
        {"no wrapping at the top left", "lu", 'A', ""},
        {"row end", "rrrrrrrrrrr", 'I', ""},
        {"bottom", "ddddd", '0', ""},
        {"a shorter row takes its last key", "rrrrrrrrdd", 'Z', ""},
        {"and up from 9 too", "dddrrrrrrrrrrru", 'Z', ""},
        {"sf2", "ddsuurrrrrsdddllls", '2', "SF2"},
        {"at most eight", "sssssssss", 'A', "AAAAAAAA"},
        {"removing", "srsbbb", 'B', ""},
        {"opened again", "rdssto", 'A', ""},
    };
    using D = JumpPanel::Direction;
    constexpr D Moves[] = {D::Left, D::Up, D::Right, D::Down};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        JumpPanel panel;
        panel.Open();
        for (char key : c.keys) {
            if (const auto move = std::string_view("lurd").find(key); move != std::string::npos) {
                panel.Move(Moves[move]);
            } else if (key == 's') {
                panel.Type();
            } else if (key == 'b') {
                panel.RemoveLast();
            } else if (key == 'o') {
                panel.Open();
            }
        }
        EXPECT_EQ(panel.Key(), c.cursor);
        EXPECT_EQ(panel.prefix(), c.prefix);
    }
}

TEST(JumpPanel, Targets) {
    const struct {
        const char* name;
        std::string prefix;
        std::string_view target;
    } cases[] = {
        {"empty", "", "10yard"},
        {"digit before all", "0", "10yard"},
        {"first of several", "G", "Galaga"},
        {"whole name, other case", "GALS", "gals \"Gals Panic\""},
        {"none begins with it", "GB", "mk"},
        {"the set, not its clones", "SF2", "sf2 \"Street Fighter II\""},
        {"a clone", "SF2C", "SF2CE"},
        {"past the end", "ZZ", "sfa"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SortedPane pane;
        EXPECT_EQ(JumpPanel::Target(pane, "A"), SortedPane::NoSelection);
        pane.Fill(Lines({"sfa", "SF2CE", "sf2 \"Street Fighter II\"", "sf \"Street Fighter\"",
                         "pacman", "mk", "gals \"Gals Panic\"", "Galaga", "1942", "10yard"}));
        EXPECT_EQ(pane[JumpPanel::Target(pane, c.prefix)], c.target);
    }
}

TEST(SortedPane, SortedIgnoringCaseWithEqualLinesInArrivalOrder) {
    SortedPane pane;
    pane.Fill(Lines({"b2", "A", "a", "B1", "_x", "b2"}));
    std::vector<std::string> expected = {"_x", "A", "a", "B1", "b2", "b2"};
    EXPECT_TRUE(pane.Lines() == expected);

    pane.Select(3); // B1
    EXPECT_EQ(pane.Insert("a"), 3);
    EXPECT_EQ(pane.Insert("0"), 0);
    EXPECT_EQ(pane.selected(), 5);
    EXPECT_EQ(pane[pane.selected()], std::string_view("B1"));
    EXPECT_EQ(pane.Insert("zz"), 8);
    EXPECT_EQ(pane[pane.selected()], std::string_view("B1"));
}

TEST(SortedPane, RemovingSelectsTheNextThenTheLastThenNothing) {
    constexpr int None = SortedPane::NoSelection;
    const struct {
        const char* name;
        std::vector<std::string> lines;
        int selected, removed, after;
        std::string_view line; // the entry selected after the removal
    } cases[] = {
        {"nothing selected, nothing goes", {"a", "b", "c"}, None, None, None, ""},
        {"the next", {"a", "b", "c"}, 1, 1, 1, "c"},
        {"the last, the new last", {"a", "b", "c"}, 2, 2, 1, "b"},
        {"the last of two", {"a", "c"}, 1, 1, 0, "a"},
        {"the only one, nothing", {"a"}, 0, 0, None, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SortedPane pane;
        pane.Fill(Lines(c.lines));
        pane.Select(c.selected);
        EXPECT_EQ(pane.RemoveSelected(), c.removed);
        EXPECT_EQ(pane.selected(), c.after);
        if (c.after != None) {
            EXPECT_EQ(pane[pane.selected()], c.line);
        }
        EXPECT_EQ(pane.empty(), c.lines.size() == 1);
    }
}

TEST(EditorPanes, GamesInTheFavouritesAreMarkedUntilTheLastCopyGoes) {
    EditorPanes panes;
    panes.FillGames(Lines({"x", "y", "X"}));
    panes.FillFavourites(Lines({"y"}));
    EXPECT_TRUE(panes.InFavourites("y") && !panes.InFavourites("x"));
    panes.games().Select(0);
    panes.Add();
    panes.Add();
    EXPECT_TRUE(panes.InFavourites("x") && !panes.InFavourites("X"));
    panes.favourites().Select(0);
    panes.Remove();
    EXPECT_TRUE(panes.InFavourites("x"));
    panes.Remove();
    EXPECT_TRUE(!panes.InFavourites("x") && panes.InFavourites("y"));
}

TEST(EditorPanes, AddStopsAtTheLinesAMapFileMayHold) {
    EditorPanes panes;
    panes.FillGames(Lines({"x"}));
    std::string full;
    for (int i = 0; i < MaxGameLines; ++i) {
        full += "y\r\n";
    }
    panes.FillFavourites(GameLines(full));
    panes.games().Select(0);
    EXPECT_FALSE(panes.Add());
    EXPECT_EQ(panes.favourites().size(), MaxGameLines);
    EXPECT_FALSE(panes.InFavourites("x"));
    panes.favourites().Select(0);
    EXPECT_TRUE(panes.Remove());
    EXPECT_TRUE(panes.Add());
    EXPECT_EQ(panes.favourites().size(), MaxGameLines);
}

TEST(FilterPanel, LinesAreFewPressesAway) {
    const struct {
        const char* name;
        int filters, inUse;
    } cases[] = {
        {"no category files", 0, -1},
        {"a few", 5, 2},
        {"catver and a dozen lists", 100, -1},
        {"the same, one in use", 100, 60},
        {"two hundred", 200, 199},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FilterPanel panel;
        panel.Open(c.filters, c.filters > 0, c.inUse, false);
        EXPECT_EQ(panel.size(), c.filters + (c.filters > 0 ? 3 : 2));
        EXPECT_EQ(panel.cursor(), c.inUse + 1);
        // The fewest presses from where it opens to each line, over every way of moving.
        std::vector<int> presses(static_cast<std::size_t>(panel.size()), -1);
        std::queue<int> next;
        presses[static_cast<std::size_t>(panel.cursor())] = 0;
        next.push(panel.cursor());
        while (!next.empty()) {
            const int from = next.front();
            next.pop();
            for (const int move : {1, -1, FilterPanel::PageRows, -FilterPanel::PageRows}) {
                FilterPanel moved = panel;
                moved.Move(from - panel.cursor() + move);
                ASSERT_TRUE(moved.cursor() >= moved.top() &&
                            moved.cursor() < moved.top() + FilterPanel::PageRows);
                int& to = presses[static_cast<std::size_t>(moved.cursor())];
                if (to < 0) {
                    to = presses[static_cast<std::size_t>(from)] + 1;
                    next.push(moved.cursor());
                }
            }
        }
        // Both action buttons twice open it: four presses, counted as the buttons.
        const int opening = 4;
        EXPECT_LE(*std::max_element(presses.begin(), presses.end()) + opening, 20);
        EXPECT_GE(*std::min_element(presses.begin(), presses.end()), 0);
        // The last lines are one step up from the first.
        panel.Move(-panel.cursor() - 1);
        EXPECT_EQ(panel.line(panel.cursor()).kind, FilterPanel::Kind::AddShown);
    }
}

TEST(SortedPane, AFilteredPaneShowsItsEntriesInOrderAndManyInsertsSortAsOneByOne) {
    SortedPane games;
    games.Fill(Lines({"b", "A", "c", "a", "B"}));
    games.ShowOnly([](std::string_view line) { return line != "c" && line != "A"; });
    EXPECT_EQ(games.Lines(), (std::vector<std::string>{"a", "b", "B"}));
    games.ShowOnly([](std::string_view line) { return line == "c"; });
    EXPECT_EQ(games.Lines(), (std::vector<std::string>{"c"}));
    games.ShowOnly(nullptr);
    EXPECT_EQ(games.Lines(), (std::vector<std::string>{"A", "a", "b", "B", "c"}));

    SortedPane oneByOne;
    SortedPane many;
    oneByOne.Fill(Lines({"m", "B", "z"}));
    many.Fill(Lines({"m", "B", "z"}));
    oneByOne.Select(1);
    many.Select(1);
    const std::vector<std::string_view> added = {"b", "a", "M", "b", "zz"};
    for (const std::string_view line : added) {
        oneByOne.Insert(line);
    }
    many.InsertMany(added);
    EXPECT_EQ(many.Lines(), oneByOne.Lines());
    EXPECT_EQ(many.selected(), oneByOne.selected());
    EXPECT_EQ(many[many.selected()], std::string_view("m"));
}

} // namespace
} // namespace fav
