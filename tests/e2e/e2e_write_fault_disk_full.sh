#!/usr/bin/env bash
# A disk that fills up while the copies are written: the program runs with a file-size limit
# below the size of its result, so the write fails part way. The failure box shows, the program
# keeps running, JWC_TEMP.TXT keeps its bytes and no temporary file stays behind.
# Arguments: ZOVREL_EXE BATCH_EXE SOURCE_DIR
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

LIMIT_KB=8
cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT"
cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_DIR/original.txt"

# The start-up parameters (20 copies of the sample) must write more than the limit allows.
mkdir "$E2E_DIR/expected"
cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_DIR/expected/JWC_TEMP.TXT"
size=$(cd "$E2E_DIR/expected" && "$E2E_SRC/tools/wine-run" "$E2E_BATCH" -o - JWC_TEMP.TXT | wc -c)
[ "$size" -gt $((LIMIT_KB * 1024)) ] || e2e_fail "the result is only $size bytes, not above ${LIMIT_KB} KB"
e2e_log "the result would be $size bytes; the limit is $((LIMIT_KB * 1024))"

# The limit must reach zovrel.exe alone: a wineserver started under it could not save the
# registry. A persistent server is made sure of first (it exits at once if one runs already).
export WINEPREFIX="${WINEPREFIX:-$E2E_SRC/build/wineprefix}"
setsid /usr/lib/wine/wineserver -p30 </dev/null >/dev/null 2>&1 &
"$E2E_SRC/tools/wine-run" cmd /c exit >/dev/null 2>&1 || true
# SIGXFSZ ignored: a write past the limit then fails with EFBIG instead of killing the process.
(cd "$E2E_WORK" && trap '' XFSZ && ulimit -f "$LIMIT_KB" &&
    exec "$E2E_SRC/tools/wine-run" "$E2E_EXE" >"$E2E_DIR/wine.log" 2>&1) &
E2E_PID=$!
e2e_log "started zovrel.exe with files limited to ${LIMIT_KB} KB, pid $E2E_PID"
main=$(e2e_wait_window "Zovrel ver.0.00 beta" 30)
[ "$(awk '/^Max file size/ {print $4}' "/proc/$E2E_PID/limits")" = $((LIMIT_KB * 1024)) ] ||
    e2e_fail "the file-size limit did not reach zovrel.exe"

e2e_send_expecting_failure "$main"
e2e_expect_file_kept "$main" "$E2E_DIR/original.txt"

e2e_close_with_yes "$main"
cmp "$E2E_DIR/original.txt" "$E2E_WORK/JWC_TEMP.TXT" || e2e_fail "JWC_TEMP.TXT changed by closing"
[ "$(ls -A "$E2E_WORK")" = "JWC_TEMP.TXT" ] || e2e_fail "files left in the directory: $(ls -A "$E2E_WORK")"
e2e_log "passed"
