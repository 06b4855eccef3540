#!/usr/bin/env bash
# Start on the sample drawing, see the figure and its copies, then close: No keeps the program
# running, Yes ends it with exit code 0 and leaves the exchange file as it was.
# Arguments: ZOVREL_EXE BATCH_EXE SOURCE_DIR
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT"

e2e_start
main=$(e2e_wait_window "Zovrel ver.0.00 beta" 30)
e2e_geometry "$main"
e2e_log "main window $main at ${E2E_X},${E2E_Y} ${E2E_W}x${E2E_H}"
[ "$E2E_X,$E2E_Y" = "104,123" ] || e2e_fail "client area at $E2E_X,$E2E_Y, expected 104,123"

# The canvas lies right of the 140-pixel panel; wait for the copies there before the shot.
canvas="$((E2E_W - 140))x$((E2E_H - 30))+$((E2E_X + 140))+$E2E_Y"
e2e_wait_colour "#3232FF" "$canvas"
e2e_wait_stable
shot=$(e2e_shot main-window)
e2e_log "screenshot $shot"
full="$((E2E_W - 140))x$((E2E_H - 30))+140+0"
figure=$(e2e_count_colour "$shot" "#000000" "$full")
copies=$(e2e_count_colour "$shot" "#3232FF" "$full")
colours=$(convert "$shot" -format %k info:)
e2e_log "canvas: $figure black and $copies copy-coloured pixels; $colours colours in the window"
[ "$figure" -gt 200 ] || e2e_fail "the figure is missing from the canvas ($figure black pixels)"
[ "$copies" -gt 200 ] || e2e_fail "the copies are missing from the canvas ($copies pixels)"
[ "$colours" -gt 8 ] || e2e_fail "the window looks blank ($colours colours)"

e2e_focus "$main"
xdotool key alt+F4
e2e_answer "確認" n
sleep 0.5
e2e_running || e2e_fail "zovrel.exe ended although the close was answered with No"
[ -n "$(e2e_windows "Zovrel ver.0.00 beta")" ] || e2e_fail "the main window went away after No"

e2e_focus "$main"
xdotool key alt+F4
e2e_answer "確認" y
e2e_wait_exit 15
[ "$E2E_RC" -eq 0 ] || e2e_fail "exit code $E2E_RC, expected 0"
cmp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT" || e2e_fail "JWC_TEMP.TXT changed by closing"
[ "$(ls -A "$E2E_WORK")" = "JWC_TEMP.TXT" ] || e2e_fail "files left in the directory: $(ls -A "$E2E_WORK")"
e2e_log "passed"
