#!/usr/bin/env bash
# The DPI window tests at another display scaling: a Wine prefix of its own with LogPixels set
# (build/wineprefix-DPI), on a virtual display large enough for the scaled window, with a
# server of its own that ends with the script.
#   run_dpi.sh DPI TESTS_EXE ROOT
set -euo pipefail
dpi=$1 exe=$2 root=$3
export WINEPREFIX="$root/build/wineprefix-$dpi" ZOVREL_LOGPIXELS=$dpi ZOVREL_EXPECT_DPI=$dpi
for n in $(seq 120 160); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
Xvfb ":$n" -screen 0 2048x1536x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
end() {
    WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
}
trap end EXIT
"$root/tools/wine-run" cmd /c exit >/dev/null 2>&1 || true  # the prefix and its DPI, once
"$root/tools/wine-run" "$exe" --gtest_filter='Dpi*'
