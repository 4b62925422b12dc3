#include "core/input/control_teaching.h"

#include <gtest/gtest.h>

namespace fav {
namespace {

using Kind = RawInput::Kind;
using Heard = ControlTeaching::Heard;
using Step = ControlTeaching::Step;

RawInput Button(int index, bool down) {
    return {Kind::Button, index, down ? 1 : 0};
}
RawInput Hat(int bits) {
    return {Kind::Hat, 0, bits};
}
RawInput Axis(int index, int value) {
    return {Kind::Axis, index, value};
}

// Presses the input, then lets it go (a hat or axis back to rest); what the press was heard as.
Heard Tap(ControlTeaching& teaching, const RawInput& press, std::int64_t now = 0) {
    const Heard heard = teaching.Hear(press, now);
    RawInput release = press;
    release.value = 0;
    teaching.Hear(release, now);
    return heard;
}

TEST(ControlTeachingTest, EachControlIsTaughtByAButtonAHatOrAnAxisInTurn) {
    // Axis 2 is a trigger, resting at one end.
    ControlTeaching teaching({0, 0, -32768});
    EXPECT_EQ(Tap(teaching, Hat(1)), Heard::Taken);
    // The next is asked only once the hat is let go.
    EXPECT_EQ(teaching.Hear(Axis(1, 20000), 0), Heard::Taken);
    EXPECT_EQ(teaching.Hear(Axis(1, 12000), 0), Heard::Nothing);
    EXPECT_EQ(teaching.step(), Step::Down) << "still held past the release point";
    EXPECT_EQ(teaching.Hear(Button(3, true), 0), Heard::Nothing) << "one input at a time";
    teaching.Hear(Button(3, false), 0);
    teaching.Hear(Axis(1, 9000), 0);
    EXPECT_EQ(teaching.step(), Step::Left);
    EXPECT_EQ(teaching.Hear(Axis(2, -20000), 0), Heard::Nothing) << "a trigger half pressed";
    EXPECT_EQ(teaching.Hear(Axis(2, 0), 0), Heard::Taken) << "moved away from its rest";
    teaching.Hear(Axis(2, -32768), 0);
    EXPECT_EQ(Tap(teaching, Hat(2)), Heard::Taken);
    EXPECT_EQ(Tap(teaching, Button(9, true)), Heard::Taken);
    EXPECT_EQ(Tap(teaching, Button(8, true)), Heard::Taken);
    EXPECT_EQ(Tap(teaching, Button(0, true)), Heard::Taken);
    EXPECT_EQ(Tap(teaching, Button(1, true)), Heard::Taken);
    EXPECT_EQ(teaching.step(), Step::Done);
    const std::vector<TaughtInput> expected = {
        {"dpup", "h0.1"}, {"dpdown", "+a1"}, {"dpleft", "+a2"}, {"dpright", "h0.2"},
        {"start", "b9"},  {"back", "b8"},    {"a", "b0"},       {"b", "b1"}};
    const std::vector<TaughtInput> taught = teaching.Taught();
    ASSERT_EQ(taught.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(taught[i].control, expected[i].control);
        EXPECT_EQ(taught[i].input, expected[i].input);
    }
}

TEST(ControlTeachingTest, AnInputAlreadyGivenIsRefusedAndStartSkipsTheActionButtons) {
    ControlTeaching teaching;
    Tap(teaching, Hat(1));
    EXPECT_EQ(Tap(teaching, Hat(1)), Heard::AlreadyGiven);
    EXPECT_EQ(teaching.LastRefused(), "h0.1");
    EXPECT_EQ(teaching.GivenTo("h0.1"), Step::Up);
    EXPECT_EQ(teaching.step(), Step::Down);
    Tap(teaching, Hat(4));
    Tap(teaching, Hat(8));
    Tap(teaching, Hat(2));
    EXPECT_FALSE(teaching.MayBeSkipped());
    Tap(teaching, Button(7, true)); // Start
    EXPECT_EQ(Tap(teaching, Button(7, true)), Heard::AlreadyGiven) << "game exit is no skip";
    Tap(teaching, Button(6, true)); // exit
    EXPECT_TRUE(teaching.MayBeSkipped());
    EXPECT_EQ(Tap(teaching, Button(6, true)), Heard::AlreadyGiven) << "only Start skips";
    EXPECT_EQ(Tap(teaching, Button(7, true)), Heard::Skipped);
    EXPECT_EQ(teaching.step(), Step::Action2);
    EXPECT_EQ(Tap(teaching, Button(2, true)), Heard::Taken);
    EXPECT_EQ(teaching.step(), Step::Done);
    const std::vector<TaughtInput> taught = teaching.Taught();
    ASSERT_EQ(taught.size(), 7U);
    EXPECT_EQ(taught.back().control, "b");
    EXPECT_EQ(taught.back().input, "b2");
}

TEST(ControlTeachingTest, AnInputHeldLongEnoughLeavesAtAnyStep) {
    ControlTeaching teaching;
    teaching.Hear(Button(5, true), 1000);
    teaching.Tick(1000 + ControlTeaching::HoldToLeaveMs - 1);
    EXPECT_FALSE(teaching.Finished());
    teaching.Tick(1000 + ControlTeaching::HoldToLeaveMs);
    EXPECT_EQ(teaching.step(), Step::Cancelled);
    EXPECT_EQ(teaching.Hear(Button(5, false), 5000), Heard::Nothing);
    EXPECT_EQ(teaching.Hear(Button(6, true), 5000), Heard::Nothing) << "nothing after leaving";
}

} // namespace
} // namespace fav
