#!/usr/bin/env bash
# The release as the host uses it, the closest to the host this project gets: the zip from
# tools/package unpacked, the host's exchange file (beginning with its "hq" line) beside
# ZOVREL.BAT, and the batch file run with Wine's "cmd /c" in that folder, as the host does after
# "REM #cd". Zovrel must open, complete with Yes, and leave in the file exactly what the packaged
# zovrel-batch writes with the start-up parameters; cmd ends with zovrel.exe's exit code 0.
# Arguments: ZOVREL_EXE BATCH_EXE SOURCE_DIR
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# zovrel.exe runs as cmd's child, a process of its own; a failed test must not leave it behind.
e2e_before_cleanup() {
    [ -n "${E2E_WINDOW_PID:-}" ] && kill "$E2E_WINDOW_PID" 2>/dev/null
    return 0
}

zip=$("$E2E_SRC/tools/package" | tail -n 1)
e2e_log "unpacking $zip"
unzip -q "$zip" -d "$E2E_DIR/unpacked"
rmdir "$E2E_WORK"
cp -r "$E2E_DIR/unpacked/zovrel" "$E2E_WORK"
cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT"
[ "$(head -n 1 "$E2E_WORK/JWC_TEMP.TXT" | tr -d '\r')" = hq ] || e2e_fail "the sample lacks the host's hq line"
installed=$(cd "$E2E_WORK" && ls -A)

(cd "$E2E_WORK" && exec "$E2E_SRC/tools/wine-run" cmd /c ZOVREL.BAT >"$E2E_DIR/cmd.log" 2>&1) &
E2E_PID=$!
e2e_log "started cmd /c ZOVREL.BAT, pid $E2E_PID"

# The program's window is the one whose process works in this folder.
work=$(realpath "$E2E_WORK")
find_program() {
    local id pid
    for id in $(xwininfo -root -children 2>/dev/null | grep -F ' "Zovrel ver.0.00 beta": ' | awk '{print $1}'); do
        pid=$(xprop -id "$id" _NET_WM_PID 2>/dev/null | awk '{print $3}')
        [ -n "$pid" ] && [ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" = "$work" ] || continue
        E2E_WINDOW_PID=$pid
        return 0
    done
    e2e_running || e2e_fail "cmd ended before Zovrel opened: $(tr -d '\r' <"$E2E_DIR/cmd.log")"
    return 1
}
e2e_wait_until 30 "no Zovrel window of a process in $work" find_program
main=$(e2e_wait_window "Zovrel ver.0.00 beta" 30)
e2e_log "zovrel.exe runs as pid $E2E_WINDOW_PID, window $main"
e2e_geometry "$main"
e2e_focus "$main"
# The copies are drawn: the program has read the file.
e2e_wait_colour "#3232FF" "$((E2E_W - 140))x$((E2E_H - 30))+$((E2E_X + 140))+$E2E_Y"

e2e_click 70 $((E2E_H - 30))
e2e_answer "確認" y
e2e_wait_exit 20
[ "$E2E_RC" -eq 0 ] || e2e_fail "cmd /c ZOVREL.BAT ended with exit code $E2E_RC, expected 0"
# Wine lets waiters go when the Windows process ends; its Unix process follows shortly.
e2e_wait_until 10 "zovrel.exe still runs after cmd ended" eval '! kill -0 "$E2E_WINDOW_PID" 2>/dev/null'
E2E_WINDOW_PID=

mkdir "$E2E_DIR/expected"
cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_DIR/expected/JWC_TEMP.TXT"
(cd "$E2E_DIR/expected" && "$E2E_SRC/tools/wine-run" "$E2E_WORK/zovrel-batch.exe" JWC_TEMP.TXT) ||
    e2e_fail "the packaged zovrel-batch failed"
cmp "$E2E_DIR/expected/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT" ||
    e2e_fail "JWC_TEMP.TXT differs from zovrel-batch's output for the start-up parameters"
# The host draws a file that no longer begins with hq.
[ "$(head -n 1 "$E2E_WORK/JWC_TEMP.TXT" | tr -d '\r')" != hq ] || e2e_fail "the result still begins with hq"
# Beside the exchange file only what "前回値" keeps, holding the start-up rows as sent.
[ "$(cd "$E2E_WORK" && ls -A)" = "$(printf '%s\nzovrel.ini\n' "$installed" | sort)" ] ||
    e2e_fail "files left in the folder: $(ls -A "$E2E_WORK")"
grep -qx $'copies=20\r' "$E2E_WORK/zovrel.ini" || e2e_fail "zovrel.ini lacks the rows as sent"
e2e_log "JWC_TEMP.TXT: $(wc -l <"$E2E_WORK/JWC_TEMP.TXT") lines, the same as zovrel-batch's"
e2e_log "passed"
