#!/usr/bin/env bash
# Builds the .deb, unpacks it into a scratch root and starts the program from there:
# it must open the 12-character query screen and end when that screen is closed.
# Needs an X display with a window manager (scripts/with-display).
# Usage: deb_starts.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(mktemp -d)
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
    rm -rf "$root"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -f "$build"/package/quenlio_*.deb
(cd "$build" && cpack -G DEB --config CPackConfig.cmake >/dev/null)
debs=("$build"/package/quenlio_*.deb)
[[ -f ${debs[0]} ]] || fail "cpack wrote no quenlio_*.deb"
deb=${debs[0]}
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == quenlio && $(field Version) == 3.0.0 ]] || fail "wrong name or version"
[[ -n $(field Maintainer) && -n $(field Description) ]] || fail "no maintainer or description"
depends=$(field Depends)
echo "depends: $depends"
# Qt's libraries must come from the shared-library scan, the fonts by name.
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (:].*//')
for package in libqt6widgets6 libqt6gui6 libqt6svg6 libstdc++6 fonts-noto-cjk fonts-arphic-ukai; do
    grep -qx "$package" <<<"$names" || fail "Depends lacks $package"
done

dpkg -x "$deb" "$root"
id=example.quenlio.Quenlio
for file in usr/bin/quenlio usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/doc/quenlio/copyright; do
    [[ -f $root/$file ]] || fail "the package lacks /$file"
done

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
# The window icon and the first screen's drawing need no image-format or icon-engine plugin:
# loading them costs a few per cent of the start-up. Read once the screen has been painted.
sleep 1
plugins=$(grep -o 'plugins/\(imageformats\|iconengines\)/[^ ]*' "/proc/$pid/maps" | sort -u || true)
[[ -z $plugins ]] || fail "start-up loaded the plugins $plugins"

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
