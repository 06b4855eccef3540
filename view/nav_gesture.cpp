#include "view/nav_gesture.h"

const char* commandLabel(NavCommand command) {
    switch (command) {
        case NavCommand::zoomIn:
            return "ZOOM IN";
        case NavCommand::zoomOut:
            return "ZOOM OUT";
        case NavCommand::showAll:
            return "SHOW ALL";
        case NavCommand::previous:
            return "PREVIOUS";
        case NavCommand::move:
            return "MOVE";
    }
    return "MOVE";
}

GestureFeedback gestureFeedback(int dx, int dy) {
    const int t = kGestureThreshold;
    if (dx > t && dy > t) return {true, commandLabel(NavCommand::zoomIn)};
    NavCommand label = NavCommand::move;
    if (dx > t && dy < -t) {
        label = NavCommand::showAll;
    } else if (dx < -t && dy < -t) {
        label = NavCommand::zoomOut;
    } else if (dx < -t && dy > t) {
        label = NavCommand::previous;
    }
    return {false, commandLabel(label)};
}

NavCommand gestureCommand(int dx, int dy) {
    const int t = kGestureThreshold;
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
