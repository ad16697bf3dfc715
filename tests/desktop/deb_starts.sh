#!/usr/bin/env bash
# Builds the .deb into a scratch folder (the one scripts/package built stays as it is), has
# lintian check it, unpacks it into a scratch root and starts the program from there: it must
# open the 12-character query screen and end when that screen is closed.
# Needs an X display with a window manager (scripts/with-display) and lintian.
# Usage: deb_starts.sh BUILD_DIR PROGRAM...   (the programs the build installs)
set -euo pipefail
build=$(cd "$1" && pwd)
shift
programs=("$@")
scratch=$(mktemp -d)
root=$scratch/root
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB --config CPackConfig.cmake -B "$scratch/package" >/dev/null)
debs=("$scratch"/package/quenlio_*.deb)
[[ -f ${debs[0]} ]] || fail "cpack wrote no quenlio_*.deb"
deb=${debs[0]}
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

field() { dpkg-deb -f "$deb" "$1"; }
# The Debian version is project()'s with a Debian revision after it.
[[ $(field Package) == quenlio && $(field Version) == "$version"-* ]] ||
    fail "the package is $(field Package) $(field Version), not quenlio $version"
[[ -n $(field Maintainer) && -n $(field Description) ]] || fail "no maintainer or description"
# The description speaks of the batch decoder when, and only when, the package holds it.
described=no packaged=no
[[ $(field Description) == *quenlio-decode* ]] && described=yes
[[ " ${programs[*]} " == *" quenlio-decode "* ]] && packaged=yes
[[ $described == "$packaged" ]] || fail "the description names quenlio-decode: $described; the package holds it: $packaged"
depends=$(field Depends)
echo "depends: $depends"
# Qt's libraries must come from the shared-library scan, the fonts by name; zxing-cpp is linked in.
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (:].*//')
for package in libqt6widgets6 libqt6gui6 libqt6svg6 libstdc++6 fonts-noto-cjk fonts-arphic-ukai; do
    grep -qx "$package" <<<"$names" || fail "Depends lacks $package"
done
! grep -q '^libzxing' <<<"$names" || fail "Depends names the system's zxing-cpp, which the build must not link"

# Every check lintian has, pedantic ones included: an error, a warning, a missing hardening flag
# or an override that matches nothing fails (the other pedantic and informational notes are
# shown). The one override, packaging/lintian-overrides, says why it is there.
command -v lintian >/dev/null || fail "lintian is not installed (scripts/test installs it)"
lintian_status=0
report=$(lintian --pedantic --display-info --fail-on error,warning "$deb") || lintian_status=$?
[[ -z $report ]] || echo "$report"
((lintian_status == 0)) || fail "lintian rejected the package (status $lintian_status)"
[[ $report != *hardening-* ]] || fail "lintian finds the programs built without Debian's hardening"
[[ $report != *-override* ]] || fail "an override of packaging/lintian-overrides matches nothing"

dpkg -x "$deb" "$root"
# What it unpacks is a valid install tree, as cmake --install gives.
bash "$(dirname "$0")/install_validates.sh" --root "$root" "$build" "${programs[@]}" >/dev/null ||
    fail "the unpacked package is no valid install tree"
newest=$(zcat "$root/usr/share/doc/quenlio/changelog.Debian.gz" | sed -n 1p)
[[ $newest == "quenlio ($(field Version)) "* ]] || fail "the changelog's newest entry is $newest"
# The packaged decoder runs.
if [[ -f $root/usr/bin/quenlio-decode ]]; then
    [[ $("$root/usr/bin/quenlio-decode" --version) == "quenlio-decode $version" ]] ||
        fail "the packaged quenlio-decode does not say it is $version"
fi

# Start the unpacked binary; Form5 is the one window named "Quenlio ByMorlane" with a
# client area of 466 x 492 pixels (Form3 shares the caption but is smaller).
QT_QPA_PLATFORM=xcb "$root/usr/bin/quenlio" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name '^Quenlio ByMorlane$' | head -n 1) ||
    fail "no window named 'Quenlio ByMorlane' appeared"
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window: ${WIDTH}x${HEIGHT}"
[[ $WIDTH == 466 && $HEIGHT == 492 ]] || fail "the first window is ${WIDTH}x${HEIGHT}, not Form5's 466x492"
# Read the whole property first: grep -q stopping early would break xprop's pipe.
icon=$(xprop -id "$window" _NET_WM_ICON)
[[ $icon == "_NET_WM_ICON(CARDINAL) = "* ]] || fail "the window carries no icon"
count=$(xdotool search --onlyvisible --pid "$pid" --name '.' | wc -l)
[[ $count == 1 ]] || fail "$count windows are open at start-up, not one"

# Close it as a user does, through the window manager; the program must end cleanly.
xdotool windowactivate --sync "$window"
xdotool key --clearmodifiers alt+F4
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program still runs after its only screen was closed"
wait "$pid" && status=0 || status=$?
pid=
[[ $status == 0 ]] || fail "the program ended with status $status"
echo "package starts and ends cleanly"
