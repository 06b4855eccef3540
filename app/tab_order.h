#pragma once

// The order in which Tab and Shift+Tab walk the panel: for each row its value box, its unit
// button (rows 1 to 3) and its slider, then "基点変更", "前回値" (while it can be pressed), the
// check box "属性・文字も複写" and "完了+JWWに送信", wrapping around.

// The stop after (or, backward, before) position current in a list of count stops. A current
// position outside the list (the focus elsewhere) enters it at the first or the last stop.
// -1 when the list is empty.
int nextTabStop(int count, int current, bool backward);

// The same over the window's controls in reading order, of which only those with isStop set
// are stops. The others (a clicked percent box, the scale button) can hold the focus too, and
// Tab goes on from where they lie: from a percent box to the stop after its row's slider,
// Shift+Tab back to that slider. -1 when there is no stop.
int nextTabStopAmong(const bool isStop[], int count, int current, bool backward);
