// The gesture tracker: tap or drag by the travel from the press, and the
// pinch steps with their five-pixel gate.
#include "app/gestures.h"

#include <cmath>
#include <cstdlib>

#include "platform/s3e.h"

PointerSample ReadPointerSample() {
    PointerSample s{};
    s.state = s3ePointerGetState(0);
    s.x = s3ePointerGetX();
    s.y = s3ePointerGetY();
    for (int32_t i = 0; i < S3E_POINTER_TOUCH_MAX; ++i) {
        if (s3ePointerGetTouchState(i) == 1) ++s.touchesDown;
    }
    s.pinchSlotsDown = s3ePointerGetTouchState(0) == 1 && s3ePointerGetTouchState(1) == 1;
    s.wheelScroll = s3ePointerGetInt(S3E_POINTER_WHEEL_SCROLL);
    s.wheelZoom = s3ePointerGetInt(S3E_POINTER_WHEEL_ZOOM);
    for (int32_t i = 0; i < 2; ++i) {
        s.touch[2 * i] = s3ePointerGetTouchX(i);
        s.touch[2 * i + 1] = s3ePointerGetTouchY(i);
    }
    return s;
}

namespace {

// Distance in double precision, rounded to single as the zoom direction compares it.
float Distance(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const double dx = static_cast<double>(x1) - x0, dy = static_cast<double>(y1) - y0;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

Gesture Make(GestureKind kind, int32_t x = 0, int32_t y = 0) {
    Gesture g{};
    g.kind = kind;
    g.x = x;
    g.y = y;
    return g;
}

}  // namespace

bool GestureTracker::TravelledFromPress(int32_t x, int32_t y) const {
    const double dx = static_cast<double>(x) - pressPoint[0];
    const double dy = static_cast<double>(y) - pressPoint[1];
    return std::sqrt(dx * dx + dy * dy) >= dragThreshold;
}

Gesture GestureTracker::Next(const PointerSample& s, bool pinchable) {
    if (s.state & S3E_POINTER_STATE_RELEASED) {
        const bool ending = pinchActive || swallowRelease;
        const bool drag = pointerHeld && TravelledFromPress(s.x, s.y);
        swallowRelease = pinchActive ? swallowRelease : false;
        pointerHeld = 0;
        pinchActive = false;
        if (ending) return Make(kGestureReleaseEnd, s.x, s.y);
        return Make(drag ? kGestureDrag : kGestureTap, s.x, s.y);
    }
    // Once every finger is up nothing is left to swallow: the release that
    // would have been swallowed came while the other finger was still down.
    if (s.touchesDown == 0 && !(s.state & S3E_POINTER_STATE_DOWN)) swallowRelease = false;

    if (pinchable) {
        if (s.touchesDown == 2 && s.pinchSlotsDown) {
            const int32_t x0 = s.touch[0], y0 = s.touch[1], x1 = s.touch[2], y1 = s.touch[3];
            if (!pinchActive) {
                pinchTouch0Left = x0 < x1;
                pinchTouch0Top = y0 < y1;
                pinchActive = true;
                swallowRelease = true;
                for (int i = 0; i < 4; ++i)
                    pinchPoints[i] = s.touch[i];
                return Make(kGesturePinchStart);
            }
            bool moved = false;
            for (int i = 0; i < 4; ++i) {
                if (std::abs(static_cast<int64_t>(s.touch[i]) - pinchPoints[i]) >= 5) moved = true;
            }
            if (!moved) return Make(kGestureNone);
            const int32_t dx0 = x0 - pinchPoints[0], dy0 = y0 - pinchPoints[1];
            const int32_t dx1 = x1 - pinchPoints[2], dy1 = y1 - pinchPoints[3];
            const float before =
                Distance(pinchPoints[0], pinchPoints[1], pinchPoints[2], pinchPoints[3]);
            const float now = Distance(x0, y0, x1, y1);
            Gesture g = Make(kGesturePinchStep);
            g.moves[0] = 6 * (pinchTouch0Left ? dx0 : dx1);
            g.moves[1] = 6 * (pinchTouch0Left ? dx1 : dx0);
            g.moves[2] = 6 * (pinchTouch0Top ? dy0 : dy1);
            g.moves[3] = 6 * (pinchTouch0Top ? dy1 : dy0);
            g.direction = before <= now ? 1 : -1;
            for (int i = 0; i < 4; ++i)
                pinchPoints[i] = s.touch[i];
            return g;
        }
        if (pinchActive) {
            pinchActive = false;
            pointerHeld = 0;
            return Make(kGesturePinchDropped);
        }
    }
    if (pinchActive || !(s.state & S3E_POINTER_STATE_DOWN)) return Make(kGestureNone);
    if (!pointerHeld) {
        pointerHeld = 1;
        pressPoint[0] = lastPoint[0] = s.x;
        pressPoint[1] = lastPoint[1] = s.y;
        return Make(kGesturePress, s.x, s.y);
    }
    return Make(kGestureHold, s.x, s.y);
}
