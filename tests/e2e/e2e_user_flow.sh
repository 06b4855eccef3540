#!/usr/bin/env bash
# A whole session as a user would have it: type values into the rows, drag a slider, switch a
# unit, pick the base point by right-clicking near a vertex, zoom in with the two-button drag and
# go back with "PREVIOUS", then send the copies. The file written must be byte for byte what
# zovrel-batch writes for the same inputs.
# Arguments: ZOVREL_EXE BATCH_EXE SOURCE_DIR
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

PANEL=140                          # the panel column's width; the canvas starts right of it
row_top() { echo $((5 + 70 * ($1 - 1))); }

# The x (in a row) or y (in a column) of every pixel of the colour on one line of a picture.
# $1 picture, $2 row|column, $3 its coordinate, $4 $5 first and last, $6 #RRGGBB.
pixels_on_line() {
    local rect
    if [ "$2" = row ]; then rect="$(($5 - $4 + 1))x1+$4+$3"; else rect="1x$(($5 - $4 + 1))+$3+$4"; fi
    convert "$1" -crop "$rect" +repage txt:- |
        awk -v c="$6" -v first="$4" -v dir="$2" 'index(toupper($0), toupper(c)) {
            split($1, p, /[,:]/); print first + (dir == "row" ? p[1] : p[2]) }'
}

# Replaces a row's value text: click into the edit, select its text, type.
set_row_text() {
    e2e_click 82 $(($(row_top "$1") + 10))
    xdotool key Home shift+End
    xdotool type --delay 40 "$2"
}

two_button_drag() {
    local x0=$1 y0=$2 x1=$3 y1=$4 shot=${5:-}
    e2e_move "$x0" "$y0"
    xdotool mousedown 1
    sleep 0.05
    xdotool mousedown 3
    e2e_glide "$x0" "$y0" "$x1" "$y1" 10
    if [ -n "$shot" ]; then
        e2e_wait_stable
        e2e_log "screenshot $(e2e_shot "$shot")"
    fi
    xdotool mouseup 3
    sleep 0.05
    xdotool mouseup 1
}

cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT"
e2e_start
main=$(e2e_wait_window "Zovrel ver.0.00 beta" 30)
e2e_geometry "$main"
e2e_focus "$main"
canvas_h=$((E2E_H - 30))           # the status bar takes about 20 pixels; stay clear of it
e2e_wait_colour "#3232FF" "$((E2E_W - PANEL))x${canvas_h}+$((E2E_X + PANEL))+$E2E_Y"
e2e_wait_stable

# Where the drawing lies: the grey axes cross at the world origin; the sample's outline runs from
# (0,0) to (100,0) to (100,40), so five pixels above the x axis its rightmost black pixel is on the
# edge x = 100, straight above the vertex (100,0). At start-up the copies lie far to the right in
# their own colour and hide nothing of it.
start=$E2E_DIR/start.png
e2e_screen "$start"
oy=$(pixels_on_line "$start" column $((E2E_X + PANEL + 5)) "$E2E_Y" $((E2E_Y + canvas_h)) "#C8C8C8" | head -n 1)
ox=$(pixels_on_line "$start" row $((E2E_Y + canvas_h - 5)) $((E2E_X + PANEL)) $((E2E_X + E2E_W - 1)) "#C8C8C8" | head -n 1)
[ -n "$ox" ] && [ -n "$oy" ] || e2e_fail "no axes found on the canvas"
vx=$(pixels_on_line "$start" row $((oy - 5)) "$ox" $((E2E_X + E2E_W - 1)) "#000000" | tail -n 1)
[ -n "$vx" ] && [ $((vx - ox)) -gt 40 ] && [ $((vx - ox)) -lt 300 ] || e2e_fail "vertex (100,0) not found (origin $ox,$oy; edge '$vx')"
ox=$((ox - E2E_X)) oy=$((oy - E2E_Y)) vx=$((vx - E2E_X)) vy=$((oy))
e2e_log "world origin at client ($ox,$oy), vertex (100,0) at ($vx,$vy)"

# The rows. Row 2 gets 250 mm, which its unit button turns into 0.25 m.
set_row_text 1 "30.5"
set_row_text 2 "250"
e2e_click 123 $(($(row_top 2) + 10))
set_row_text 3 "15"
set_row_text 4 "0.95"
set_row_text 6 "12"
# Row 2's slider: drag its thumb from 0 past the right end (100), then the keys of the focused
# slider: four pages (20 each) and two lines (1 each) down give 18.
y=$(($(row_top 2) + 28))
e2e_move 9 "$y"
xdotool mousedown 1
e2e_glide 9 "$y" 130 "$y" 8
xdotool mouseup 1
xdotool key Prior Prior Prior Prior Left Left
# Row 3's slider: a click anywhere on it focuses it; End and one page down give 80.
e2e_click 50 $(($(row_top 3) + 28))
xdotool key End Prior
e2e_wait_stable

# Pick mode: the base point and the big red marker follow the pointer, the hint shows in the
# status bar right of the panel column.
status="$((E2E_W - PANEL - 200))x18+$((E2E_X + PANEL))+$((E2E_Y + E2E_H - 19))"
e2e_click 70 430
e2e_glide 70 430 $((vx + 3)) $((vy + 3)) 12
# The marker's arm reaches 9 pixels right of the pointer; the small cross only 4.
e2e_wait_colour "#FF0000" "1x1+$((E2E_X + vx + 3 + 9))+$((E2E_Y + vy + 3))"
e2e_wait_colour "#000000" "$status"
e2e_wait_stable
e2e_log "screenshot $(e2e_shot pick-mode)"
# A right click 3 pixels off the vertex snaps the base point onto it; the hint goes.
xdotool click 3
e2e_wait_until 10 "the hint stayed after the right click" \
    eval 'e2e_screen "$E2E_DIR/hint.png"; [ "$(e2e_count_colour "$E2E_DIR/hint.png" "#000000" "$status")" -eq 0 ]'
e2e_wait_stable
before_zoom=$E2E_DIR/before-zoom.png
e2e_screen "$before_zoom"
window="${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}"

# Zoom in: both buttons down, drag down-right around the drawing (the rubber band shows), release.
two_button_drag $((ox - 30)) $((oy - 100)) $((vx + 60)) $((oy + 30)) zoom-rubber-band
e2e_wait_until 10 "the view did not zoom in" \
    eval 'e2e_screen "$E2E_DIR/zoom.png"; [ "$(e2e_diff "$before_zoom" "$E2E_DIR/zoom.png" "$window")" -gt 1000 ]'
e2e_wait_stable
e2e_log "screenshot $(e2e_shot zoomed-in)"
# "PREVIOUS": drag down-left; the window must look exactly as before the zoom.
two_button_drag 400 200 340 260
e2e_wait_until 10 "PREVIOUS did not bring back the view from before the zoom" \
    eval 'e2e_screen "$E2E_DIR/previous.png"; [ "$(e2e_diff "$before_zoom" "$E2E_DIR/previous.png" "$window")" = 0 ]'

# Send: the completion button sits at the panel's bottom-left, right above the status bar.
e2e_click 70 $((E2E_H - 30))
e2e_answer "確認" y
e2e_wait_exit 15
[ "$E2E_RC" -eq 0 ] || e2e_fail "exit code $E2E_RC, expected 0"

mkdir "$E2E_DIR/expected"
cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_DIR/expected/JWC_TEMP.TXT"
(cd "$E2E_DIR/expected" && "$E2E_SRC/tools/wine-run" "$E2E_BATCH" \
    --move-x 30.5@100 --move-y 0.25@18 --move-y-unit m --angle 15@80 --angle-unit deg \
    --scale-x 0.95@100 --scale-y 1.0@100 --copies 12@100 --base 100,0 JWC_TEMP.TXT) ||
    e2e_fail "zovrel-batch failed"
if ! cmp "$E2E_DIR/expected/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT"; then
    diff "$E2E_DIR/expected/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT" | head -n 20 >&2 || true
    e2e_fail "JWC_TEMP.TXT differs from zovrel-batch's output for the same inputs"
fi
e2e_log "JWC_TEMP.TXT: $(wc -l <"$E2E_WORK/JWC_TEMP.TXT") lines, the same as zovrel-batch's"
# The rows as sent, for "前回値" in the next run, beside the program.
printf '%s\r\n' '[zovrel]' move-x=30.5 move-x-slider=100 move-x-unit=mm move-y=0.25 \
    move-y-slider=18 move-y-unit=m angle=15 angle-slider=80 angle-unit=deg scale-x=0.95 \
    scale-x-slider=100 scale-y=1.0 scale-y-slider=100 copies=12 copies-slider=100 \
    last-keep-attributes=0 keep-attributes=0 >"$E2E_DIR/expected/zovrel.ini"
cmp "$E2E_DIR/expected/zovrel.ini" "$(dirname "$E2E_EXE")/zovrel.ini" ||
    e2e_fail "zovrel.ini does not hold the rows as sent: $(tr -d '\r' <"$(dirname "$E2E_EXE")/zovrel.ini")"
e2e_log "passed"
