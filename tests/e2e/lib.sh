# Shared helpers of the end-to-end scripts, which drive the real zovrel.exe under Wine as a user
# would: xdotool for input, xwininfo to find windows, screenshots and files to check results.
# Sourced by each script with its arguments: ZOVREL_EXE BATCH_EXE SOURCE_DIR.
set -euo pipefail

E2E_NAME=$(basename "$0" .sh)
# Absolute, because the program and zovrel-batch run in directories of their own.
E2E_EXE=$(realpath "$1")
E2E_BATCH=$(realpath "$2")
E2E_SRC=$(realpath "$3")
E2E_SHOTS=$(dirname "$E2E_EXE")/e2e-shots
E2E_PID=
E2E_RC=
mkdir -p "$E2E_SHOTS"
rm -f "$E2E_SHOTS/$E2E_NAME-failure.png"
# The program runs in WORK, which holds nothing but what the test puts there; the test's own
# files stay one level up.
E2E_DIR=$(mktemp -d -t "zovrel-$E2E_NAME-XXXXXX")
E2E_WORK=$E2E_DIR/work
mkdir "$E2E_WORK"
# The program keeps zovrel.ini beside itself: a copy of its own in a folder of its own keeps
# every run's file out of the build folder and out of the next run.
mkdir "$E2E_DIR/program"
cp "$E2E_EXE" "$E2E_DIR/program/zovrel.exe"
E2E_EXE=$E2E_DIR/program/zovrel.exe
# Byte-wise greps of UTF-8 captions and no locale warnings from bash; Wine itself gets
# ja_JP.UTF-8 from tools/wine-run.
export LC_ALL=C.UTF-8

# Run standalone (outside a wine session) the script brings its own server and display.
if [ -z "${DISPLAY:-}" ]; then
    # shellcheck source=../../tools/wine-session
    source "$E2E_SRC/tools/wine-session"
fi

e2e_log() { echo "[$E2E_NAME $(date +%T.%2N)] $*"; }

e2e_fail() {
    echo "[$E2E_NAME] FAIL: $*" >&2
    exit 1
}

# Ends the script as skipped: ctest reports this exit code as "Not Run", with the reason.
E2E_SKIPPED=77
e2e_skip() {
    echo "[$E2E_NAME] SKIPPED: $*"
    exit "$E2E_SKIPPED"
}

e2e_cleanup() {
    local rc=$?
    trap - EXIT
    # A script that changed something about its directory puts it back first.
    if declare -F e2e_before_cleanup >/dev/null; then e2e_before_cleanup || true; fi
    if [ "$rc" -ne 0 ] && [ "$rc" -ne "$E2E_SKIPPED" ]; then
        import -window root "$E2E_SHOTS/$E2E_NAME-failure.png" 2>/dev/null || true
        echo "[$E2E_NAME] failed; screen: $E2E_SHOTS/$E2E_NAME-failure.png, files: $E2E_DIR" >&2
    fi
    if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill "$E2E_PID" 2>/dev/null || true
        sleep 0.5
        kill -9 "$E2E_PID" 2>/dev/null || true
    elif [ -n "$E2E_PID" ]; then
        # Another session ending with "wineserver -k" on the same prefix ends it with code 1.
        local code=0
        wait "$E2E_PID" || code=$?
        echo "[$E2E_NAME] zovrel.exe had ended by itself with exit code $code" >&2
    fi
    if [ "$rc" -eq 0 ] || [ "$rc" -eq "$E2E_SKIPPED" ]; then rm -rf "$E2E_DIR"; fi
    if declare -F zovrel_end_session >/dev/null; then zovrel_end_session; fi
    exit "$rc"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

# Starts zovrel.exe in WORK. The exec chain (wine-run, env, wine64) keeps the
# process id, so E2E_PID is the Windows process itself and its windows carry it as _NET_WM_PID.
e2e_start() {
    (cd "$E2E_WORK" && exec "$E2E_SRC/tools/wine-run" "$E2E_EXE" "$@" >"$E2E_DIR/wine.log" 2>&1) &
    E2E_PID=$!
    e2e_log "started zovrel.exe, pid $E2E_PID"
}

e2e_running() { kill -0 "$E2E_PID" 2>/dev/null; }

# Prints the ids of this process's top-level windows with exactly this caption: the shown ones,
# or with "any" also the hidden ones (Wine gives hidden top-level windows unmapped X windows).
# The process is E2E_PID's, or E2E_WINDOW_PID's where a script started zovrel.exe through
# another Windows program.
e2e_windows() {
    local caption=$1 which=${2:-shown} id
    for id in $(xwininfo -root -children 2>/dev/null | grep -F " \"$caption\": " | awk '{print $1}'); do
        xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= ${E2E_WINDOW_PID:-$E2E_PID}\$" || continue
        if [ "$which" = shown ]; then
            xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
        fi
        echo "$id"
    done
}

# Waits for a window of this process by its caption and prints its id; fails after the timeout.
e2e_wait_window() {
    local caption=$1 timeout=${2:-15} id end
    end=$(($(date +%s) + timeout))
    while :; do
        id=$(e2e_windows "$caption" | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        e2e_running || e2e_fail "zovrel.exe ended while waiting for the window \"$caption\""
        [ "$(date +%s)" -ge "$end" ] && e2e_fail "no window \"$caption\" within ${timeout}s"
        sleep 0.1
    done
}

e2e_wait_window_gone() {
    local id=$1 timeout=${2:-10} end
    end=$(($(date +%s) + timeout))
    while xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; do
        [ "$(date +%s)" -ge "$end" ] && e2e_fail "window $id still shown after ${timeout}s"
        sleep 0.1
    done
}

# Sets E2E_X E2E_Y E2E_W E2E_H to the window's screen rectangle (its client area: without a
# window manager Wine draws no frame of its own into the X window).
e2e_geometry() {
    local info
    info=$(xwininfo -id "$1")
    E2E_X=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    E2E_Y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    E2E_W=$(awk '/Width:/ {print $2}' <<<"$info")
    E2E_H=$(awk '/Height:/ {print $2}' <<<"$info")
}

# Pointer actions at client coordinates of the window measured last by e2e_geometry.
e2e_move() {
    # --sync waits for the pointer to move, for 15 s when it is already there. The location's
    # four variables stay local.
    # shellcheck disable=SC2034
    local x=$((E2E_X + $1)) y=$((E2E_Y + $2)) X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    [ "$X,$Y" = "$x,$y" ] || xdotool mousemove --sync "$x" "$y"
}
e2e_click() {
    e2e_move "$1" "$2"
    xdotool click --repeat "${4:-1}" --delay 80 "${3:-1}"
}
# Moves the pointer in small steps so that the program sees every intermediate position.
e2e_glide() {
    local x0=$1 y0=$2 x1=$3 y1=$4 steps=${5:-8} i
    for i in $(seq 1 "$steps"); do
        e2e_move $((x0 + (x1 - x0) * i / steps)) $((y0 + (y1 - y0) * i / steps))
        sleep 0.03
    done
}

e2e_focus() { xdotool windowfocus --sync "$1"; }

# Answers a message box of this process: waits for it, gives it the focus, presses the key
# and waits until it is gone.
e2e_answer() {
    local caption=$1 key=$2 id
    id=$(e2e_wait_window "$caption" "${3:-10}")
    e2e_focus "$id"
    xdotool key "$key"
    e2e_wait_window_gone "$id"
    e2e_log "answered \"$caption\" with $key"
}

# Waits for the process to end and sets E2E_RC to its exit code.
e2e_wait_exit() {
    local timeout=${1:-15} end
    end=$(($(date +%s) + timeout))
    while e2e_running; do
        [ "$(date +%s)" -ge "$end" ] && e2e_fail "zovrel.exe still running after ${timeout}s"
        sleep 0.1
    done
    E2E_RC=0
    wait "$E2E_PID" || E2E_RC=$?
    E2E_PID=
    e2e_log "zovrel.exe ended with exit code $E2E_RC"
}

# Saves the window's client area (E2E_X ... from e2e_geometry) as a PNG and prints its path.
e2e_shot() {
    local path=$E2E_SHOTS/$1.png
    import -window root -crop "${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}" +repage "$path"
    echo "$path"
}

# Counts the pixels of one colour (#RRGGBB) inside a rectangle of a picture.
e2e_count_colour() {
    local file=$1 colour=$2 rect=$3
    convert "$file" -crop "$rect" +repage -format %c histogram:info:- |
        awk -v c="$colour" 'toupper($0) ~ toupper(c) {sub(":", "", $1); n += $1} END {print n + 0}'
}

# Waits until the rectangle of the screen holds at least one pixel of the colour, so that
# screenshots are taken after the program has drawn rather than after a fixed sleep.
e2e_wait_colour() {
    local colour=$1 rect=$2 timeout=${3:-10} end tmp=$E2E_DIR/poll.png
    end=$(($(date +%s) + timeout))
    while :; do
        import -window root "$tmp"
        [ "$(e2e_count_colour "$tmp" "$colour" "$rect")" -gt 0 ] && return 0
        [ "$(date +%s)" -ge "$end" ] && e2e_fail "no $colour pixel in $rect within ${timeout}s"
        sleep 0.2
    done
}

e2e_screen() { import -window root "$1"; }

# Number of differing pixels of two pictures inside a rectangle (WxH+X+Y of both).
e2e_diff() { compare -metric AE "$1[$3]" "$2[$3]" null: 2>&1 || true; }

# Runs the command every 0.2 s until it succeeds; fails with the message after the timeout.
e2e_wait_until() {
    local timeout=$1 what=$2 end
    shift 2
    end=$(($(date +%s) + timeout))
    until "$@"; do
        [ "$(date +%s)" -ge "$end" ] && e2e_fail "$what (waited ${timeout}s)"
        sleep 0.2
    done
}

# Waits until the window (from e2e_geometry), or the screen rectangle $2, stops changing: two
# pictures 0.2 s apart are the same. $1 is the timeout in seconds (10).
e2e_wait_stable() {
    local a=$E2E_DIR/stable-a.png b=$E2E_DIR/stable-b.png end
    local rect=${2:-"${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}"}
    end=$(($(date +%s) + ${1:-10}))
    import -window root -crop "$rect" "$a"
    while :; do
        sleep 0.2
        import -window root -crop "$rect" "$b"
        [ "$(compare -metric AE "$a" "$b" null: 2>&1 || true)" = 0 ] && return 0
        [ "$(date +%s)" -ge "$end" ] && e2e_fail "the screen kept changing"
        mv "$b" "$a"
    done
}

# Presses "完了+JWWに送信" (the panel's bottom-left, right above the status bar) in the main
# window $1 and answers Yes; the write must fail: the program keeps running and shows its failure
# box, a window of its own with the caption "Zovrel" owned by the main window, answered with OK.
e2e_send_expecting_failure() {
    local main=$1 box
    e2e_geometry "$main"
    e2e_focus "$main"
    e2e_click 70 $((E2E_H - 30))
    e2e_answer "確認" y
    box=$(e2e_wait_window "Zovrel" 15)
    [ "$box" != "$main" ] || e2e_fail "the failure was shown in the main window"
    # Wine marks an owned window as transient for its owner.
    xprop -id "$box" WM_TRANSIENT_FOR | grep -q "# $main\$" ||
        e2e_fail "the failure box is not owned by the main window: $(xprop -id "$box" WM_TRANSIENT_FOR)"
    e2e_focus "$box"
    xdotool key Return
    e2e_wait_window_gone "$box"
    e2e_log "the failure box $box was shown and answered with OK"
}

# After a failed write: the program and its main window $1 are still there, JWC_TEMP.TXT holds
# exactly the bytes of $2, and nothing else lies in the directory.
e2e_expect_file_kept() {
    local main=$1 original=$2
    e2e_running || e2e_fail "zovrel.exe ended after the failed write"
    e2e_windows "Zovrel ver.0.00 beta" | grep -qx "$main" || e2e_fail "the main window is gone"
    cmp "$original" "$E2E_WORK/JWC_TEMP.TXT" || e2e_fail "JWC_TEMP.TXT changed"
    [ "$(ls -A "$E2E_WORK")" = "JWC_TEMP.TXT" ] ||
        e2e_fail "files left in the directory: $(ls -A "$E2E_WORK" | tr '\n' ' ')"
    e2e_log "zovrel.exe still runs, JWC_TEMP.TXT is unchanged and alone in its directory"
}

# Closes the program with Yes, which must end it with exit code 0.
e2e_close_with_yes() {
    e2e_focus "$1"
    xdotool key alt+F4
    e2e_answer "確認" y
    e2e_wait_exit 15
    [ "$E2E_RC" -eq 0 ] || e2e_fail "exit code $E2E_RC, expected 0"
}
