#!/usr/bin/env bash
# Without JWC_TEMP.TXT the error box comes first, before any main window; after OK the main
# window opens with an empty drawing, and closing it creates no exchange file.
# Arguments: ZOVREL_EXE BATCH_EXE SOURCE_DIR
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

e2e_start
# The box has no caption of its own: Wine's default for the locale is "エラー" (error).
box=$(e2e_wait_window "エラー" 30)
[ -z "$(e2e_windows "Zovrel ver.0.00 beta" any)" ] || e2e_fail "the main window exists while the error box shows"
e2e_geometry "$box"
e2e_log "error box $box at ${E2E_X},${E2E_Y} ${E2E_W}x${E2E_H}"
# "file open err!" and an OK button make a narrow box; a long text would widen it.
[ "$E2E_W" -lt 200 ] || e2e_fail "the error box is ${E2E_W} wide; expected the short text \"file open err!\""
e2e_wait_colour "#000000" "${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}"
shot=$(e2e_shot file-open-error)
e2e_log "screenshot $shot"
sleep 0.5
[ -z "$(e2e_windows "Zovrel ver.0.00 beta" any)" ] || e2e_fail "the main window opened before the box was answered"

e2e_focus "$box"
xdotool key Return
e2e_wait_window_gone "$box"
main=$(e2e_wait_window "Zovrel ver.0.00 beta" 15)
e2e_geometry "$main"
# An empty drawing: the grey axes and the red base-point cross, nothing in black or copy colour.
canvas="$((E2E_W - 140))x$((E2E_H - 30))+$((E2E_X + 140))+$E2E_Y"
e2e_wait_colour "#FF0000" "$canvas"
shot=$(e2e_shot empty-drawing)
full="$((E2E_W - 140))x$((E2E_H - 30))+140+0"
[ "$(e2e_count_colour "$shot" "#C8C8C8" "$full")" -gt 500 ] || e2e_fail "no axes on the empty canvas"
[ "$(e2e_count_colour "$shot" "#3232FF" "$full")" -eq 0 ] || e2e_fail "copies drawn without a drawing"

e2e_focus "$main"
xdotool key alt+F4
e2e_answer "確認" y
e2e_wait_exit 15
[ "$E2E_RC" -eq 0 ] || e2e_fail "exit code $E2E_RC, expected 0"
[ -z "$(ls -A "$E2E_WORK")" ] || e2e_fail "files appeared in the directory: $(ls -A "$E2E_WORK")"
e2e_log "passed"
