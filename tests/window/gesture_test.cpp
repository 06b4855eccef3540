// The two-button navigation gesture, driven with mouse messages to the main window.

#include <windows.h>

#include "app/app_win.h"
#include "tests/window/window_harness.h"
#include "view/mouse_actions.h"

using namespace harness;

namespace {

struct Pixel {
    int x, y;
};

struct View {
    int offsetX, offsetY;
    double scale;
};

View current() {
    return {app().view.offsetX, app().view.offsetY, app().view.scale};
}
View saved() {
    return {app().view.savedOffsetX, app().view.savedOffsetY, app().view.savedScale};
}

void expectView(const View& got, const View& want, const char* what) {
    EXPECT_EQ(got.offsetX, want.offsetX) << what;
    EXPECT_EQ(got.offsetY, want.offsetY) << what;
    EXPECT_DOUBLE_EQ(got.scale, want.scale) << what;
}

// What the view operations make of a view, by their definitions.
View panned(View v, Pixel p) {
    return {v.offsetX + (p.x - halfWidth()), v.offsetY + (p.y - halfHeight()), v.scale};
}

View zoomedAround(View v, Pixel p, double newScale) {
    const int tx = static_cast<int>((p.x - halfWidth() + v.offsetX) * v.scale);
    const int ty = static_cast<int>((p.y - halfHeight() + v.offsetY) * v.scale);
    const double r = 1.0 / newScale;
    return {static_cast<int>(tx * r), static_cast<int>(ty * r), newScale};
}

View zoomedInto(View v, Pixel a, Pixel b) {
    const double fx = static_cast<double>(2 * halfWidth()) / (b.x - a.x);
    const double fy = static_cast<double>(2 * halfHeight()) / (b.y - a.y);
    const double factor = fx <= fy ? fx : fy;
    const Pixel centre{static_cast<int>((a.x + b.x) * 0.5), static_cast<int>((a.y + b.y) * 0.5)};
    return zoomedAround(v, centre, v.scale / factor);
}

// Right button, then left button at start; the moves; both released at release.
void gesture(Pixel start, std::initializer_list<Pixel> moves, Pixel release) {
    mouse(WM_RBUTTONDOWN, start.x, start.y);
    mouse(WM_LBUTTONDOWN, start.x, start.y);
    for (const Pixel& m : moves) mouse(WM_MOUSEMOVE, m.x, m.y);
    mouse(WM_LBUTTONUP, release.x, release.y);
    mouse(WM_RBUTTONUP, release.x, release.y);
}

// A known view with a saved view that differs from it.
void startFrom(double scale, int offsetX, int offsetY) {
    app().view.savedOffsetX = 7;
    app().view.savedOffsetY = -9;
    app().view.savedScale = 3.0;
    setView(scale, offsetX, offsetY);
}

// The gesture label or the "ZOOM IN" text: grey-backed text 5 pixels right of and below the
// start pixel.
int labelPixels(Pixel start) {
    return countPixels(kGrey, start.x + 5, start.y + 5, start.x + 55, start.y + 17);
}

class Gesture : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        const char* const texts[6] = {"120", "0", "90", "1.0", "1.0", "0"};
        const int sliders[6] = {100, 0, 0, 100, 100, 100};
        setRows(texts, sliders);  // no copies: only the figure near the origin
    }
};

TEST_F(Gesture, BothButtonsClickedWithoutMovingRecentreOnThatPixel) {
    startFrom(1.0, 0, 0);
    const Pixel p{halfWidth() + 40, halfHeight() - 25};
    gesture(p, {}, p);
    expectView(current(), {40, -25, 1.0}, "re-centred, same scale");
    expectView(saved(), {0, 0, 1.0}, "the view before");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(app().mouse.captured, 0);
    EXPECT_EQ(app().mouse.gestureActive, 0);
    // At the centre pixel the view stays, but the saved view is replaced still.
    gesture({halfWidth(), halfHeight()}, {}, {halfWidth(), halfHeight()});
    expectView(current(), {40, -25, 1.0}, "unchanged");
    expectView(saved(), {40, -25, 1.0}, "replaced");
}

TEST_F(Gesture, DragOf11By11ZoomsTheRectangleIntoTheCanvas) {
    startFrom(1.0, 0, 0);
    const Pixel s{halfWidth() + 15, halfHeight() + 25};
    const Pixel r{s.x + 11, s.y + 11};
    gesture(s, {r}, r);
    const View want = zoomedInto({0, 0, 1.0}, s, r);
    expectView(current(), want, "zoomed in");
    EXPECT_DOUBLE_EQ(current().scale,
                     11.0 / (2 * (halfWidth() < halfHeight() ? halfWidth() : halfHeight())));
    expectView(saved(), {0, 0, 1.0}, "the view before");
}

TEST_F(Gesture, ThresholdIsMoreThanTenPixels) {
    startFrom(1.0, 0, 0);
    const Pixel s{halfWidth() - 30, halfHeight() - 40};
    gesture(s, {{s.x + 10, s.y + 50}}, {s.x + 10, s.y + 50});
    expectView(current(), panned({0, 0, 1.0}, s), "10 right and 50 down is MOVE");

    startFrom(1.0, 0, 0);
    gesture(s, {{s.x - 10, s.y - 50}}, {s.x - 10, s.y - 50});
    expectView(current(), panned({0, 0, 1.0}, s), "10 left and 50 up is MOVE");

    startFrom(1.0, 0, 0);
    gesture(s, {{s.x + 11, s.y + 50}}, {s.x + 11, s.y + 50});
    expectView(current(), zoomedInto({0, 0, 1.0}, s, {s.x + 11, s.y + 50}), "11 right and 50 down");
}

TEST_F(Gesture, UpLeftZoomsOutAroundTheStartPixel) {
    startFrom(1.0, 10, -20);
    const Pixel s{halfWidth() + 30, halfHeight() + 20};
    gesture(s, {{s.x - 30, s.y - 30}}, {s.x - 40, s.y - 25});
    expectView(current(), zoomedAround({10, -20, 1.0}, s, 2.0), "twice the units per pixel");
    expectView(saved(), {10, -20, 1.0}, "the view before");
}

TEST_F(Gesture, UpRightShowsAllAndDownLeftReturnsToThePreviousView) {
    startFrom(0.25, 100, 50);
    const Pixel s{halfWidth(), halfHeight()};
    gesture(s, {{s.x + 20, s.y - 20}}, {s.x + 20, s.y - 20});
    expectView(current(), {0, 0, app().view.homeScale}, "SHOW ALL: home scale, origin centred");
    EXPECT_DOUBLE_EQ(app().view.homeScale, startup.view.homeScale);
    expectView(saved(), {100, 50, 0.25}, "the view before");

    gesture(s, {{s.x - 20, s.y + 20}}, {s.x - 20, s.y + 20});
    expectView(current(), {100, 50, 0.25}, "PREVIOUS");
    gesture(s, {{s.x - 20, s.y + 20}}, {s.x - 20, s.y + 20});
    expectView(current(), {0, 0, startup.view.homeScale}, "PREVIOUS twice");
}

TEST_F(Gesture, FeedbackFollowsThePointerAndTheReleaseDecides) {
    startFrom(1.0, 0, 0);
    const Pixel s{60, 60};  // far from the axes and the figure
    mouse(WM_RBUTTONDOWN, s.x, s.y);
    mouse(WM_LBUTTONDOWN, s.x, s.y);
    EXPECT_GT(labelPixels(s), 30) << "MOVE is shown at the start";
    EXPECT_EQ(GetCapture(), mainWindow);

    const Pixel c{s.x + 60, s.y + 40};
    mouse(WM_MOUSEMOVE, c.x, c.y);
    EXPECT_EQ(pixel(s.x + 30, s.y), kGrey) << "rubber band, top";
    EXPECT_EQ(pixel(s.x + 30, c.y), kGrey) << "rubber band, bottom";
    EXPECT_EQ(pixel(s.x, s.y + 30), kGrey) << "rubber band, left";
    EXPECT_EQ(pixel(c.x, s.y + 30), kGrey) << "rubber band, right";
    EXPECT_GT(labelPixels(s), 30) << "the ZOOM IN text";
    EXPECT_GT(countPixels(kBlack, s.x + 5, s.y + 5, s.x + 55, s.y + 17), 10);

    mouse(WM_MOUSEMOVE, s.x - 30, s.y - 30);
    EXPECT_EQ(pixel(s.x + 30, c.y), kWhite) << "no rubber band in the ZOOM OUT zone";
    EXPECT_GT(labelPixels(s), 30) << "the ZOOM OUT label";

    // Back near the start: the release there is a MOVE, whatever was shown on the way.
    mouse(WM_MOUSEMOVE, s.x + 3, s.y + 2);
    mouse(WM_LBUTTONUP, s.x + 3, s.y + 2);
    mouse(WM_RBUTTONUP, s.x + 3, s.y + 2);
    expectView(current(), panned({0, 0, 1.0}, s), "MOVE to the start pixel");
    EXPECT_EQ(GetCapture(), nullptr);
    setView(1.0, 0, 0);
    EXPECT_EQ(labelPixels(s), 0) << "the feedback is gone after the release";
    EXPECT_EQ(gestureShown(app().mouse, app().dpi).label, nullptr);
    EXPECT_FALSE(gestureShown(app().mouse, app().dpi).rubberBand);
}

// Alt+Tab or a window popping up while the buttons are held takes the capture away: the
// gesture ends unperformed and no button stays down, so the next right click is a plain one.
TEST_F(Gesture, ALostCaptureEndsTheGestureWithoutPerformingIt) {
    for (UINT lost : {WM_CAPTURECHANGED, WM_CANCELMODE}) {
        startFrom(1.0, 0, 0);
        const Pixel s{60, 60};
        mouse(WM_RBUTTONDOWN, s.x, s.y);
        mouse(WM_LBUTTONDOWN, s.x, s.y);
        mouse(WM_MOUSEMOVE, s.x + 60, s.y + 40);
        ASSERT_EQ(pixel(s.x + 30, s.y), kGrey) << "rubber band";
        SendMessageA(mainWindow, lost, 0, 0);
        EXPECT_EQ(pixel(s.x + 30, s.y), kWhite) << lost << ": the rubber band is gone";
        EXPECT_EQ(labelPixels(s), 0) << lost;
        EXPECT_EQ(GetCapture(), nullptr) << lost;
        expectView(current(), {0, 0, 1.0}, "nothing performed");
        // A later release of the buttons, then a single right click: no gesture.
        mouse(WM_LBUTTONUP, s.x + 60, s.y + 40);
        mouse(WM_RBUTTONUP, s.x + 60, s.y + 40);
        expectView(current(), {0, 0, 1.0}, "the late releases perform nothing");
        mouse(WM_RBUTTONDOWN, s.x, s.y);
        EXPECT_EQ(app().mouse.gestureActive, 0) << lost;
        mouse(WM_RBUTTONUP, s.x, s.y);
        EXPECT_EQ(labelPixels(s), 0) << lost;
        expectView(current(), {0, 0, 1.0}, "a plain right click");
    }
    // The program's own release of the capture ends nothing early: a whole gesture still works.
    gesture({60, 60}, {{90, 65}}, {90, 65});
    expectView(current(), panned({0, 0, 1.0}, {60, 60}), "MOVE after a lost capture");
}

TEST_F(Gesture, HorizontalReleasePerformsMoveAndClearsTheLabel) {
    startFrom(1.0, 0, 0);
    const Pixel s{60, 60};
    mouse(WM_RBUTTONDOWN, s.x, s.y);
    mouse(WM_LBUTTONDOWN, s.x, s.y);
    mouse(WM_MOUSEMOVE, s.x + 30, s.y + 5);
    EXPECT_GT(labelPixels(s), 30) << "MOVE is shown in the horizontal zone";
    mouse(WM_LBUTTONUP, s.x + 30, s.y + 5);
    mouse(WM_RBUTTONUP, s.x + 30, s.y + 5);
    expectView(current(), panned({0, 0, 1.0}, s), "MOVE to the start pixel");
    setView(1.0, 0, 0);
    EXPECT_EQ(labelPixels(s), 0) << "no label left behind";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Gesture, TheLastReleaseDecidesWhereverTheFirstOneWas) {
    startFrom(1.0, 0, 0);
    const Pixel s{halfWidth() + 20, halfHeight() + 10};
    mouse(WM_RBUTTONDOWN, s.x, s.y);
    mouse(WM_LBUTTONDOWN, s.x, s.y);
    mouse(WM_LBUTTONUP, s.x + 5, s.y + 5);
    EXPECT_EQ(app().mouse.gestureActive, 1) << "one button still held";
    EXPECT_EQ(GetCapture(), mainWindow);
    expectView(current(), {0, 0, 1.0}, "nothing performed yet");
    mouse(WM_MOUSEMOVE, s.x - 30, s.y - 30);
    mouse(WM_RBUTTONUP, s.x - 30, s.y - 30);
    expectView(current(), zoomedAround({0, 0, 1.0}, s, 2.0), "ZOOM OUT at the right release");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(app().mouse.captured, 0);
}

TEST_F(Gesture, TheGestureStartsWhereTheSecondButtonWentDown) {
    startFrom(1.0, 0, 0);
    const Pixel first{halfWidth() - 50, halfHeight() - 50};
    const Pixel second{halfWidth() + 8, halfHeight() - 6};
    mouse(WM_LBUTTONDOWN, first.x, first.y);
    mouse(WM_RBUTTONDOWN, second.x, second.y);
    mouse(WM_RBUTTONUP, second.x, second.y);
    mouse(WM_LBUTTONUP, second.x, second.y);
    expectView(current(), {8, -6, 1.0}, "MOVE to the second press");
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
