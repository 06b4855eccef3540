#!/usr/bin/env bash
# Builds the release zip with tools/package, unpacks it as a drafter would and checks what
# Windows and the host will see: the files, the UTF-8 name flag, Shift-JIS texts with CR LF, the
# batch file's directives, stripped programs importing only system DLLs, and the file
# properties and manifest read back through the Windows API under Wine.
# Arguments: RESOURCE_INFO_EXE SOURCE_DIR VERSION
set -euo pipefail
info_exe=$(realpath "$1")
src=$(realpath "$2")
version=$3
export LC_ALL=C.UTF-8
fail() {
    echo "package check: FAIL: $*" >&2
    exit 1
}
scratch=$(mktemp -d -t zovrel-package-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

zip=$("$src/tools/package" | tail -n 1)
[ "$(basename "$zip")" = "zovrel-$version-win64.zip" ] || fail "unexpected zip name $zip"

# Every entry's local header: names that are not ASCII must carry the UTF-8 flag (bit 11), or
# Windows' Explorer shows them in the wrong code page.
u16() { od -An -tu2 -j "$1" -N2 "$zip" | tr -d ' '; }
u32() { od -An -tu4 -j "$1" -N4 "$zip" | tr -d ' '; }
offset=0
entries=0
while [ "$(od -An -tx4 -j "$offset" -N4 "$zip" | tr -d ' ')" = 04034b50 ]; do
    flags=$(u16 $((offset + 6)))
    name_length=$(u16 $((offset + 26)))
    name=$(dd if="$zip" bs=1 skip=$((offset + 30)) count="$name_length" status=none)
    if LC_ALL=C grep -q '[^ -~]' <<<"$name" && [ $((flags & 0x800)) -eq 0 ]; then
        fail "$name is not marked as a UTF-8 name"
    fi
    offset=$((offset + 30 + name_length + $(u16 $((offset + 28))) + $(u32 $((offset + 18)))))
    entries=$((entries + 1))
done
[ "$entries" -gt 0 ] || fail "no entries read from $zip"

unzip -q "$zip" -d "$scratch"
expected="zovrel/LICENSE.txt
zovrel/README.txt
zovrel/ZOVREL.BAT
zovrel/sample/JWC_TEMP.TXT
zovrel/sample/zovrel.exe
zovrel/zovrel-batch.exe
zovrel/zovrel.exe
zovrel/説明書.txt"
listed=$(cd "$scratch" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$listed" = "$(LC_ALL=C sort <<<"$expected")" ] || fail "the files differ:
$listed"
dir=$scratch/zovrel

# Texts: Shift-JIS that decodes, and every line ended by CR LF.
for text in ZOVREL.BAT 説明書.txt README.txt LICENSE.txt; do
    iconv -f CP932 -t UTF-8 "$dir/$text" >/dev/null || fail "$text is not Shift-JIS"
    lines=$(wc -l <"$dir/$text")
    [ "$lines" -gt 0 ] && [ "$(tail -c 1 "$dir/$text" | od -An -c | tr -d ' ')" = '\n' ] ||
        fail "$text does not end with a line end"
    [ "$(grep -c $'\r$' "$dir/$text")" -eq "$lines" ] && [ "$(tr -cd '\r' <"$dir/$text" | wc -c)" -eq "$lines" ] ||
        fail "$text has lines not ended by CR LF"
done
for text in 説明書.txt README.txt; do
    # sed reads to the end: no early exit in the pipe for pipefail to take as a failure.
    first=$(iconv -f CP932 -t UTF-8 "$dir/$text" | sed -n 1p)
    [[ "$first" == "Zovrel $version"* ]] || fail "$text does not start with Zovrel $version"
done

# The batch file: the memo, the directives the host reads, and the program run plainly.
mapfile -t bat < <(iconv -f CP932 -t UTF-8 "$dir/ZOVREL.BAT" | tr -d '\r')
[ "${#bat[@]}" -eq 8 ] || fail "ZOVREL.BAT has ${#bat[@]} lines, expected 8"
[[ ${bat[0]} == "@REM Zovrel "* ]] && LC_ALL=C grep -q '[^ -~]' <<<"${bat[0]}" ||
    fail "ZOVREL.BAT's first line is not a Japanese memo: ${bat[0]}"
[ "${bat[1]}|${bat[2]}|${bat[3]}|${bat[4]}|${bat[6]}|${bat[7]}" = "REM #jww|REM #cd|REM #h1|REM #zw|REM #e|zovrel.exe" ] ||
    fail "ZOVREL.BAT's directives or command line: ${bat[*]}"
[[ ${bat[5]} == "REM #hc "?* ]] && LC_ALL=C grep -q '[^ -~]' <<<"${bat[5]}" ||
    fail "ZOVREL.BAT's prompt line is not a Japanese prompt: ${bat[5]}"

# The programs: stripped, fully static (system DLLs only), the sample's copy the same program.
for exe in zovrel.exe zovrel-batch.exe; do
    x86_64-w64-mingw32-objdump -h "$dir/$exe" | grep -q '\.debug' && fail "$exe has debug sections"
    [ "$(x86_64-w64-mingw32-objdump -t "$dir/$exe" | grep -c '^\[')" -eq 0 ] || fail "$exe has symbols"
    dlls=$(x86_64-w64-mingw32-objdump -p "$dir/$exe" | awk '/DLL Name:/ {print toupper($3)}' | sort -u)
    for dll in $dlls; do
        case $dll in
            KERNEL32.DLL | USER32.DLL | GDI32.DLL | COMCTL32.DLL | MSVCRT.DLL) ;;
            *) fail "$exe imports $dll" ;;
        esac
    done
    echo "$exe: $(stat -c %s "$dir/$exe") bytes, imports $(echo $dlls)"
done
cmp -s "$dir/zovrel.exe" "$dir/sample/zovrel.exe" || fail "sample/zovrel.exe differs from zovrel.exe"

# What Windows shows in the files' properties, and the manifest of zovrel.exe.
run() { "$src/tools/wine-run" "$@" 2>/dev/null | tr -d '\r'; }
[ "$(run "$dir/zovrel-batch.exe" --version)" = "zovrel-batch $version" ] ||
    fail "zovrel-batch --version: $(run "$dir/zovrel-batch.exe" --version)"
IFS=. read -r major minor patch <<<"$version"
for exe in zovrel.exe zovrel-batch.exe; do
    props=$(run "$info_exe" "Z:$dir/$exe" | iconv -f CP932 -t UTF-8)
    echo "$exe:"
    echo "$props" | sed 's/^/    /'
    for want in "FileVersionNumbers=$major.$minor.${patch:-0}.0" "FileVersion=$version" \
                "ProductVersion=$version" "ProductName=Zovrel" "OriginalFilename=$exe" \
                "LegalCopyright=Copyright (c) 2026 The Zovrel developers (MIT License)"; do
        grep -qxF "$want" <<<"$props" || fail "$exe: no $want"
    done
    grep -q '^FileDescription=Zovrel 連続複写' <<<"$props" || fail "$exe: no Japanese file description"
done
manifest=$(run "$info_exe" "Z:$dir/zovrel.exe" | sed -n '/^manifest:/,$p')
[ -n "$manifest" ] || fail "zovrel.exe has no manifest"
grep -q 'requestedExecutionLevel level="asInvoker"' <<<"$manifest" || fail "the manifest is not asInvoker"
for os in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
          1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
    grep -q "supportedOS Id=\"{$os}\"" <<<"$manifest" || fail "the manifest lacks supportedOS $os"
done
# The look stays the classic one; the window is drawn for each monitor's own DPI.
grep -qi 'Common-Controls' <<<"$manifest" && fail "the manifest changes the look"
grep -q '<dpiAware[^>]*>true/pm</dpiAware>' <<<"$manifest" || fail "the manifest is not DPI aware per monitor"
grep -q '<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>' <<<"$manifest" ||
    fail "the manifest lacks the per-monitor (v2) DPI awareness"
echo "package check: $zip passed"
