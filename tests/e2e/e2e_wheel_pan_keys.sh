#!/usr/bin/env bash
# The wheel, the middle button and the keyboard as a user would use them: the wheel zooms about
# the pointer even with the focus in a value box, and over the panel does nothing; PREVIOUS
# undoes a run of notches at once; a middle drag moves the drawing pixel for pixel; Tab walks to
# the copies box with its text selected; Escape asks to close.
# Arguments: ZOVREL_EXE BATCH_EXE SOURCE_DIR
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

PANEL=140
row_top() { echo $((5 + 70 * ($1 - 1))); }

# The first screen x (row) or y (column) of a pixel of the colour on one line of a picture.
first_on_line() {
    local rect
    if [ "$2" = row ]; then rect="$(($5 - $4 + 1))x1+$4+$3"; else rect="1x$(($5 - $4 + 1))+$3+$4"; fi
    convert "$1" -crop "$rect" +repage txt:- |
        awk -v c="$6" -v first="$4" -v dir="$2" '!found && index(toupper($0), toupper(c)) {
            split($1, p, /[,:]/); print first + (dir == "row" ? p[1] : p[2]); found = 1 }'
}

# Sets AX AY to the client pixel where the grey axes cross (the world origin).
find_axes() {
    local shot=$E2E_DIR/axes.png
    # The canvas only: a value box with the focus blinks its caret.
    e2e_wait_stable 10 "$canvas"
    e2e_screen "$shot"
    AY=$(first_on_line "$shot" column $((E2E_X + PANEL + 5)) "$E2E_Y" $((E2E_Y + canvas_h)) "#C8C8C8")
    AX=$(first_on_line "$shot" row $((E2E_Y + canvas_h - 5)) $((E2E_X + PANEL)) $((E2E_X + E2E_W - 1)) "#C8C8C8")
    [ -n "$AX" ] && [ -n "$AY" ] || e2e_fail "no axes found on the canvas"
    AX=$((AX - E2E_X)) AY=$((AY - E2E_Y))
}

cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT"
e2e_start
main=$(e2e_wait_window "Zovrel ver.0.00 beta" 30)
e2e_geometry "$main"
e2e_focus "$main"
canvas_h=$((E2E_H - 30))
canvas="$((E2E_W - PANEL))x${canvas_h}+$((E2E_X + PANEL))+$E2E_Y"
window="${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}"
e2e_wait_colour "#3232FF" "$canvas"
find_axes
e2e_log "world origin at ($AX,$AY)"
start=$E2E_DIR/start.png
e2e_screen "$start"

# The focus in row 1's value box, the pointer on the origin: two notches away zoom in about it.
e2e_click 82 $(($(row_top 1) + 10))
e2e_move "$AX" "$AY"
xdotool click 4
sleep 0.2
xdotool click 4
e2e_wait_until 10 "the wheel did not zoom" \
    eval 'e2e_screen "$E2E_DIR/zoom.png"; [ "$(e2e_diff "$start" "$E2E_DIR/zoom.png" "$canvas")" -gt 500 ]'
ox=$AX oy=$AY
find_axes
[ "$AX,$AY" = "$ox,$oy" ] || e2e_fail "the origin moved from the pointer at ($ox,$oy) to ($AX,$AY)"
e2e_log "screenshot $(e2e_shot wheel-zoomed)"

# "PREVIOUS" (both buttons dragged down-left) undoes the whole run of notches.
e2e_move 400 200
xdotool mousedown 1
sleep 0.05
xdotool mousedown 3
e2e_glide 400 200 340 260 8
xdotool mouseup 3
sleep 0.05
xdotool mouseup 1
e2e_wait_until 10 "PREVIOUS did not return to the view before the notches" \
    eval 'e2e_screen "$E2E_DIR/previous.png"; [ "$(e2e_diff "$start" "$E2E_DIR/previous.png" "$canvas")" = 0 ]'

# Over the panel the wheel does nothing, with the focus in a slider under the pointer.
e2e_click 50 $(($(row_top 4) + 28))
before=$E2E_DIR/before-panel-wheel.png
e2e_wait_stable
e2e_screen "$before"
xdotool click 5 click 5 click 4
sleep 0.5
e2e_wait_stable
e2e_screen "$E2E_DIR/panel-wheel.png"
[ "$(e2e_diff "$before" "$E2E_DIR/panel-wheel.png" "$window")" = 0 ] ||
    e2e_fail "the wheel over the panel changed something"

# A middle drag moves the drawing with the pointer.
find_axes
ox=$AX oy=$AY
e2e_move 420 150
xdotool mousedown 2
e2e_glide 420 150 460 175 8
xdotool mouseup 2
find_axes
[ "$AX,$AY" = "$((ox + 40)),$((oy + 25))" ] ||
    e2e_fail "the origin went from ($ox,$oy) to ($AX,$AY), not by (40,25)"
e2e_log "the middle drag moved the origin to ($AX,$AY)"

# Tab from row 5's box: its slider, then the copies box with its text selected; typing replaces
# it and the readout in the status bar follows.
strip="$((E2E_W - PANEL - 20))x18+$((E2E_X + PANEL))+$((E2E_Y + E2E_H - 19))"
# A focused value box blinks its caret, so only the strip is awaited, never the whole window.
e2e_click 82 $(($(row_top 5) + 10))
readout=$E2E_DIR/readout.png
e2e_wait_until 10 "no readout in the status bar" \
    eval 'e2e_screen "$readout"; [ "$(e2e_count_colour "$readout" "#3232FF" "$strip")" -gt 50 ]'
xdotool key Tab Tab
xdotool type --delay 40 "2"
xdotool key Return
e2e_wait_until 10 "typing after Tab did not change the readout" \
    eval 'e2e_screen "$E2E_DIR/typed.png"; [ "$(e2e_diff "$readout" "$E2E_DIR/typed.png" "$strip")" -gt 20 ]'
# On to the copies' slider, which has no caret, for a steady picture.
xdotool key Tab
e2e_wait_stable
e2e_log "screenshot $(e2e_shot typed-after-tab)"

# Escape asks the close question: No keeps the program, Yes ends it without writing.
xdotool key Escape
e2e_answer "確認" n
sleep 0.5
e2e_running || e2e_fail "zovrel.exe ended although the question was answered with No"
e2e_focus "$main"
xdotool key Escape
e2e_answer "確認" y
e2e_wait_exit 15
[ "$E2E_RC" -eq 0 ] || e2e_fail "exit code $E2E_RC, expected 0"
cmp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT" || e2e_fail "JWC_TEMP.TXT changed"
e2e_log "passed"
