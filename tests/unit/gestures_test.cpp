// The gesture tracker on made-up pointer states: what is a tap, what is a
// drag, and how a pinch starts, steps and ends however the fingers lift.
#include <gtest/gtest.h>

#include "app/gestures.h"

namespace {

constexpr int32_t kDown = 1, kPressed = 2, kReleased = 4;

PointerSample Primary(int32_t state, int32_t x, int32_t y) {
    PointerSample s{};
    s.state = state;
    s.x = x;
    s.y = y;
    s.touchesDown = (state & kDown) ? 1 : 0;
    s.touch[0] = x;
    s.touch[1] = y;
    return s;
}

// Both touch slots 0 and 1 down at the given points.
PointerSample Two(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    PointerSample s = Primary(kDown, x0, y0);
    s.touchesDown = 2;
    s.pinchSlotsDown = true;
    s.touch[2] = x1;
    s.touch[3] = y1;
    return s;
}

GestureTracker Fresh() {
    GestureTracker t{};
    t.dragThreshold = 20;
    return t;
}

GestureKind PressAndRelease(GestureTracker& t, int32_t dx, int32_t dy) {
    EXPECT_EQ(t.Next(Primary(kDown | kPressed, 100, 100), false).kind, kGesturePress);
    EXPECT_EQ(t.Next(Primary(kDown, 100 + dx, 100 + dy), false).kind, kGestureHold);
    return t.Next(Primary(kReleased, 100 + dx, 100 + dy), false).kind;
}

TEST(Gestures, ReleaseIsATapUnderTwentyPixelsFromThePressAndADragFromTwenty) {
    GestureTracker t = Fresh();
    EXPECT_EQ(PressAndRelease(t, 19, 0), kGestureTap);
    EXPECT_EQ(PressAndRelease(t, 20, 0), kGestureDrag);
    // Measured as a distance, not per axis: 12 and 16 make 20.
    EXPECT_EQ(PressAndRelease(t, 12, 16), kGestureDrag);
    EXPECT_EQ(PressAndRelease(t, 11, 16), kGestureTap);
    // A release whose press was never seen (it came and went within one
    // pass) is a tap at the release position.
    const Gesture lone = t.Next(Primary(kReleased, 300, 40), false);
    EXPECT_EQ(lone.kind, kGestureTap);
    EXPECT_EQ(lone.x, 300);
    EXPECT_EQ(lone.y, 40);
    EXPECT_EQ(t.pointerHeld, 0);
}

TEST(Gestures, PinchStepsPassTheFivePixelGateAndFollowTheFingersAsTheyLayAtTheStart) {
    GestureTracker t = Fresh();
    t.Next(Primary(kDown | kPressed, 300, 100), true);
    // Touch 0 is the right and lower finger.
    EXPECT_EQ(t.Next(Two(300, 400, 100, 200), true).kind, kGesturePinchStart);
    EXPECT_TRUE(t.pinchActive);
    EXPECT_TRUE(t.swallowRelease);
    // Under five pixels on every coordinate: nothing, and the reference stays.
    EXPECT_EQ(t.Next(Two(304, 404, 96, 196), true).kind, kGestureNone);
    EXPECT_EQ(t.pinchPoints[0], 300);
    // Spreading: the left finger (touch 1) moves left 10, the right one 5
    // right; the top finger (touch 1) moves up 10, the bottom one 5 down.
    const Gesture spread = t.Next(Two(305, 405, 90, 190), true);
    ASSERT_EQ(spread.kind, kGesturePinchStep);
    EXPECT_EQ(spread.moves[0], -60);
    EXPECT_EQ(spread.moves[1], 30);
    EXPECT_EQ(spread.moves[2], -60);
    EXPECT_EQ(spread.moves[3], 30);
    EXPECT_EQ(spread.direction, 1);
    const Gesture close = t.Next(Two(295, 395, 100, 200), true);
    ASSERT_EQ(close.kind, kGesturePinchStep);
    EXPECT_EQ(close.direction, -1);
    // Off the board two fingers are no pinch.
    GestureTracker list = Fresh();
    list.Next(Primary(kDown | kPressed, 10, 10), false);
    EXPECT_EQ(list.Next(Two(10, 10, 200, 200), false).kind, kGestureHold);
}

TEST(Gestures, NoTapIsMadeOrLostAfterAPinchWhicheverFingerLiftsFirst) {
    // The second finger lifts first: the primary's release ends the gesture.
    GestureTracker t = Fresh();
    t.Next(Primary(kDown | kPressed, 100, 100), true);
    t.Next(Two(100, 100, 200, 200), true);
    EXPECT_EQ(t.Next(Primary(kDown, 100, 100), true).kind, kGesturePinchDropped);
    EXPECT_EQ(t.Next(Primary(kReleased, 100, 100), true).kind, kGestureReleaseEnd);
    EXPECT_EQ(PressAndRelease(t, 0, 0), kGestureTap);

    // The primary finger lifts first, while touch 1 is still down; then the
    // other finger lifts, which the primary pointer never reports.
    GestureTracker u = Fresh();
    u.Next(Primary(kDown | kPressed, 100, 100), true);
    u.Next(Two(100, 100, 200, 200), true);
    PointerSample primaryUp = Primary(kReleased, 100, 100);
    primaryUp.touchesDown = 1;
    EXPECT_EQ(u.Next(primaryUp, true).kind, kGestureReleaseEnd);
    EXPECT_EQ(u.Next(Primary(0, 100, 100), true).kind, kGestureNone);
    // The next real tap is not swallowed.
    EXPECT_EQ(PressAndRelease(u, 0, 0), kGestureTap);
}

}  // namespace
