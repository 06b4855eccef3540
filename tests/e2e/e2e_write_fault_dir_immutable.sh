#!/usr/bin/env bash
# The exchange file's directory refuses new files: no temporary file can be made beside
# JWC_TEMP.TXT. The failure box shows, the program keeps running, the file keeps its bytes and the
# directory stays as it was; once the directory takes files again, the same command writes what
# zovrel-batch writes and ends the program.
# As root neither permission bits nor the Windows read-only attribute stop a new file; the
# immutable attribute (chattr +i) does. Where the file system has no such attribute, the test is
# skipped (exit code 77).
# Arguments: ZOVREL_EXE BATCH_EXE SOURCE_DIR
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

e2e_before_cleanup() { chattr -i "$E2E_WORK" 2>/dev/null; }

# Whether the directory can be made immutable here, and whether that really stops a new file.
command -v chattr >/dev/null || e2e_skip "chattr is not installed (package e2fsprogs)"
chattr +i "$E2E_WORK" 2>"$E2E_DIR/chattr.log" ||
    e2e_skip "the file system of $E2E_WORK has no immutable attribute: $(cat "$E2E_DIR/chattr.log")"
if touch "$E2E_WORK/probe" 2>/dev/null; then
    rm -f "$E2E_WORK/probe"
    chattr -i "$E2E_WORK"
    e2e_skip "an immutable directory still takes new files on this file system"
fi
chattr -i "$E2E_WORK"

cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT"
cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_DIR/original.txt"
e2e_start
main=$(e2e_wait_window "Zovrel ver.0.00 beta" 30)

chattr +i "$E2E_WORK"
e2e_log "the directory is immutable: $(lsattr -d "$E2E_WORK" | awk '{print $1}')"
e2e_send_expecting_failure "$main"
e2e_expect_file_kept "$main" "$E2E_DIR/original.txt"

# With the cause removed the start-up parameters are written, as the batch tool writes them.
chattr -i "$E2E_WORK"
e2e_geometry "$main"
e2e_focus "$main"
e2e_click 70 $((E2E_H - 30))
e2e_answer "確認" y
e2e_wait_exit 15
[ "$E2E_RC" -eq 0 ] || e2e_fail "exit code $E2E_RC, expected 0"
mkdir "$E2E_DIR/expected"
cp "$E2E_SRC/samples/JWC_TEMP.TXT" "$E2E_DIR/expected/JWC_TEMP.TXT"
(cd "$E2E_DIR/expected" && "$E2E_SRC/tools/wine-run" "$E2E_BATCH" JWC_TEMP.TXT) ||
    e2e_fail "zovrel-batch failed"
cmp "$E2E_DIR/expected/JWC_TEMP.TXT" "$E2E_WORK/JWC_TEMP.TXT" ||
    e2e_fail "JWC_TEMP.TXT differs from zovrel-batch's output for the start-up parameters"
[ "$(ls -A "$E2E_WORK")" = "JWC_TEMP.TXT" ] || e2e_fail "files left in the directory: $(ls -A "$E2E_WORK")"
e2e_log "passed"
