#include "view/view_hooks_win.h"

namespace {
void noHint(const char*) {}
void noScaleChange() {}
void noScene(std::chrono::steady_clock::time_point) {}
}  // namespace

ViewHooks theViewHooks = {noHint, noScaleChange, noScene};
