#!/usr/bin/env bash
# The Windows build under Wine, inside scripts/with-display: the core, decoder and screen
# suites built for Windows, then what only Windows has: the page opener's command
# interpreter, and the decoder's binary streams and wide file names, against the Linux build.
# Usage: under_wine.sh BUILD_WINDOWS_DIR [SCREENSHOT_DIR]
set -euo pipefail
out=$(cd "$1" && pwd)
shots=${2:-}
scratch=$(mktemp -d)
fail() { echo "FAIL: $*" >&2; exit 1; }
say() { printf 'wine: %s\n' "$*"; }

cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
# A Wine desktop process started without this display would serve every later window with
# no driver: start afresh, inside the X session.
wineserver -k 2>/dev/null || true
if ! wineboot -i >"$scratch/wineboot.log" 2>&1; then
    cat "$scratch/wineboot.log" >&2
    fail "wineboot could not prepare the Wine prefix ${WINEPREFIX:-~/.wine}"
fi

wait_for() { # TIMEOUT COMMAND...: until COMMAND succeeds
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}
window_named() { xdotool search --onlyvisible --name "^$1\$" | head -n 1; }

if [[ -z "$shots" ]]; then
    # --- The suites ---
    rm -f "$out"/tests/ui/test_*.txt
    status=0
    ctest --test-dir "$out" --output-on-failure --timeout 600 || status=$?
    # The screen tests write their logs to files (Wine loses their standard output).
    for log in "$out"/tests/ui/test_*.txt; do
        grep -hE '^(FAIL!|XPASS)|failure location|Actual|Expected' "$log" | sed "s|^|${log##*/}: |" || true
    done
    ((status == 0)) || fail "ctest under Wine failed"
    gtests=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p' "$out/Testing/Temporary/LastTest.log" |
        awk '{n += $1} END {print n + 0}')
    qtests=$(sed -n 's/^Totals: \([0-9]*\) passed.*/\1/p' "$out"/tests/ui/test_*.txt | awk '{n += $1} END {print n + 0}')
    say "GoogleTest cases passed: $gtests; Qt Test functions and rows passed: $qtests"
    echo "$((gtests + qtests))" >"$out/wine-test-count"

    # --- The decoder: the same bytes as the Linux build, whatever the line ends ---
    linux="$out/linux/quenlio-decode"
    printf '\xEF\xBB\xBFDNPH7ABCXYZ0,MD239CH\r\n\r\n5K923ABC8M9 MB496LL\r\n\x1A\r\n# note\r\nF1XK1ABCXYZW,MD128J\r\nSHORT\r\n\r\n' >"$scratch/rows.txt"
    cp "$scratch/rows.txt" "$scratch/序列号 Ω✓.txt"
    compare() { # ARGS...: run both in the scratch folder, standard input rows.txt
        local linux_status=0 wine_status=0
        (cd "$scratch" && "$linux" "$@" <rows.txt >linux.csv 2>/dev/null) || linux_status=$?
        (cd "$scratch" && wine "$out/quenlio-decode.exe" "$@" <rows.txt >wine.csv 2>wine.err) || wine_status=$?
        cmp -s "$scratch/linux.csv" "$scratch/wine.csv" ||
            fail "quenlio-decode.exe $* wrote other bytes than the Linux build: $(cmp "$scratch/linux.csv" "$scratch/wine.csv" || true)"
        [[ $linux_status == "$wine_status" ]] || fail "quenlio-decode.exe $* exited $wine_status, Linux $linux_status"
        [[ -s "$scratch/wine.csv" ]] || fail "quenlio-decode.exe $* wrote nothing: $(cat "$scratch/wine.err")"
    }
    compare
    compare --bom
    compare "序列号 Ω✓.txt"
    compare --bom rows.txt - "序列号 Ω✓.txt"
    grep -q 'DNPH7ABCXYZ0' "$scratch/wine.csv" || fail "the decoded rows are missing"
    say "quenlio-decode.exe writes what the Linux build writes (CR/LF, BOM, blank lines, Ctrl-Z, a Chinese file name)"
fi

# --- The real program ---
browser="$scratch/browser"
mkdir -p "$browser"
# Wine's "start" hands an address to xdg-open: this one only writes it down.
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened"\n' "$browser" >"$browser/xdg-open"
chmod +x "$browser/xdg-open"
PATH="$browser:$PATH" wine "$out/quenlio.exe" >/dev/null 2>&1 &
program=$!
wait_for 60 window_named "Quenlio ByMorlane" || fail "the window \"Quenlio ByMorlane\" did not appear"
form5=$(window_named "Quenlio ByMorlane")
say "the window \"Quenlio ByMorlane\" is on screen"
# The scenario is driven by keys, as a keyboard user would: every control is in its screen's
# Tab chain and pressed with Enter or Space, so no test here knows where a control lies.
keys() { # WINDOW KEY...: the keys, one after the other, into WINDOW
    local window=$1
    shift
    xdotool windowactivate --sync "$window" key --delay 150 "$@"
}
shoot() { # WINDOW FILE
    sleep 1
    import -window "$1" -frame "$shots/$2"
    say "wrote $shots/$2"
}

if [[ -z "$shots" ]]; then
    # From the serial box, Shift+Tab goes back round the chain to "返回", then to the shop banner.
    keys "$form5" shift+Tab shift+Tab space
    wait_for 30 test -s "$browser/opened" || fail "the banner's address never reached the browser"
    [[ $(cat "$browser/opened") == "http://shop.quenlio.example/" ]] ||
        fail "the browser got \"$(cat "$browser/opened")\""
    say "the banner handed http://shop.quenlio.example/ to the browser"
    # The command interpreter's console must be gone with it.
    only_program_windows() {
        local id
        for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            [[ $(xdotool getwindowname "$id") == "Quenlio ByMorlane" ]] || return 1
        done
    }
    wait_for 10 only_program_windows ||
        fail "a window other than Quenlio's is left on screen: $(for id in $(xdotool search --onlyvisible --name .); do xdotool getwindowname "$id"; done)"
    say "no console window is left on screen"

    # A serial whose half-year code is wrong, typed key by key at a person's pace (xdotool's delay is
    # split between a key's press and release: 140 ms a key is 70 ms apart, slower than a hand
    # scanner); Tab goes on from the banner past "返回" to the serial box.
    keys "$form5" Tab Tab
    xdotool type --delay 140 "dnpl7abc1234"
    wait_for 20 window_named "序列号错误！" || fail "typing a wrong half-year code opened no \"序列号错误！\" box"
    say "a wrong half-year code opened \"序列号错误！\""
    keys "$(window_named "序列号错误！")" Return
    wait_for 20 sh -c '! xdotool search --onlyvisible --name "^序列号错误！\$"' || fail "Enter did not close \"序列号错误！\""
else
    shoot "$form5" windows-form5.png
    xdotool windowactivate --sync "$form5" type --delay 140 "f1rjp3xydtwf"
    sleep 0.5
    xdotool type --delay 140 "md297ch"
    # From the part number box, Tab goes past 查看方法 and 扫描条码 to 查询.
    keys "$form5" Tab Tab Tab space
    shoot "$form5" windows-form5-query.png
    # Back from 查询 past 扫描条码, 查看方法 and both boxes to "返回", the end of the chain.
    keys "$form5" shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Return
    wait_for 30 window_named "Quenlio ByMorlane " || fail "the menu did not open"
    menu=$(window_named "Quenlio ByMorlane ")
    shoot "$menu" windows-main.png
    # The menu opens with the 12-character models focused; the 11-character ones come next.
    keys "$menu" Tab Return
    wait_for 30 window_named "Quenlio ByMorlane" || fail "the 11-character screen did not open"
    shoot "$(window_named "Quenlio ByMorlane")" windows-form3.png
fi
kill "$program" 2>/dev/null || true
