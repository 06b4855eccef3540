#pragma once

// The texts the view shows itself; the rest are the app's (app/texts.h, which includes these).
// Sources are UTF-8; the window layer turns the literals into Shift-JIS bytes.

namespace text {

constexpr char kFontFace[] = "ＭＳ ゴシック";

// The navigation gesture's commands, as the canvas announces them.
constexpr char kZoomIn[] = "ZOOM IN";
constexpr char kZoomOut[] = "ZOOM OUT";
constexpr char kShowAll[] = "SHOW ALL";
constexpr char kPrevious[] = "PREVIOUS";
constexpr char kMove[] = "MOVE";

}  // namespace text
