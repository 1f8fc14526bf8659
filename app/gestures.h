// Turning the pointer's raw states into gestures: a press, a held pointer, a
// tap or drag release, and the steps of a two-finger pinch. One pass of the
// main loop gives one sample and at most one gesture; what a gesture does is
// the screen flow's matter.
#pragma once

#include <cstdint>

// The pointer as one pass sees it.
struct PointerSample {
    int32_t state;  // primary pointer: bit 1 down, 2 pressed, 4 released since the last update
    int32_t x, y;   // primary pointer position
    int32_t touchesDown;  // how many of the touch slots 0..9 are down
    bool pinchSlotsDown;  // slots 0 and 1 are the two that are down
    int32_t touch[4];     // x0, y0, x1, y1 of touch slots 0 and 1
    int32_t wheelScroll;  // a wheel's or touchpad's scroll and zoom since the
    int32_t wheelZoom;    // last update, at (x, y) (see s3ePointerGetInt)
};

// Reads the pointer services (after s3ePointerUpdate).
PointerSample ReadPointerSample();

enum GestureKind : int32_t {
    kGestureNone = 0,
    kGesturePress,        // first pass with the pointer down: the press is now tracked
    kGestureHold,         // a later pass with the pointer still down
    kGestureTap,          // released under dragThreshold from the press (or with no press tracked)
    kGestureDrag,         // released dragThreshold or more from the press
    kGestureReleaseEnd,   // a release that ends a pinch, or one swallowed after it
    kGesturePinchStart,   // two fingers came down
    kGesturePinchStep,    // the two fingers moved far enough to zoom
    kGesturePinchDropped  // one of the two fingers lifted
};

struct Gesture {
    GestureKind kind;
    int32_t x, y;  // pointer position (press, hold and release)
    // Pinch step: six times the x movements of the left and the right finger,
    // and of the y movements of the top and the bottom finger, since the
    // last step; direction +1 when the fingers spread (or kept their
    // distance), -1 when they closed.
    int32_t moves[4];
    int32_t direction;
};

struct GestureTracker {
    int32_t dragThreshold;   // pixels of travel from which a release is a drag
    int32_t pointerHeld;     // 1 while a press is tracked
    int32_t pressPoint[2];   // where the tracked press began
    int32_t lastPoint[2];    // last handled position of the tracked press
    int32_t pinchPoints[4];  // x0, y0, x1, y1 at the last pinch step
    bool pinchTouch0Left;    // at pinch start touch 0 lay left of touch 1
    bool pinchTouch0Top;     // at pinch start touch 0 lay above touch 1
    bool pinchActive;
    bool swallowRelease;  // the release that ends a pinch gesture is not a tap

    // The gesture of one pass. Pinches are read only when pinchable (the
    // board); elsewhere two fingers are just a pointer.
    Gesture Next(const PointerSample& sample, bool pinchable);
    // The tracked press has moved dragThreshold or more from where it began.
    bool TravelledFromPress(int32_t x, int32_t y) const;
};
