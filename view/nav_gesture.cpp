#include "view/nav_gesture.h"

#include "view/view_texts.h"

const char* commandLabel(NavCommand command) {
    switch (command) {
        case NavCommand::zoomIn:
            return text::kZoomIn;
        case NavCommand::zoomOut:
            return text::kZoomOut;
        case NavCommand::showAll:
            return text::kShowAll;
        case NavCommand::previous:
            return text::kPrevious;
        case NavCommand::move:
            return text::kMove;
    }
    return text::kMove;
}

NavCommand gestureCommand(int dx, int dy, int dpi) {
    const int t = scaled(kGestureThreshold, dpi);
    if (dx < -t) {
        if (dy < -t) return NavCommand::zoomOut;
        if (dy > t) return NavCommand::previous;
        return NavCommand::move;
    }
    if (dx <= t) return NavCommand::move;
    if (dy < -t) return NavCommand::showAll;
    if (dy > t) return NavCommand::zoomIn;
    return NavCommand::move;
}

GestureFeedback gestureFeedback(int dx, int dy, int dpi) {
    const NavCommand command = gestureCommand(dx, dy, dpi);
    return {command == NavCommand::zoomIn, commandLabel(command)};
}
