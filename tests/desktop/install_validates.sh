#!/usr/bin/env bash
# Installs the build into a scratch root, as a distribution would, or takes a root that
# holds the unpacked package, and checks what lands there: the programs and their manuals,
# and share/ with the freedesktop and AppStream validators.
# Usage: install_validates.sh [--root ROOT] BUILD_DIR PROGRAM...   (the programs the build installs)
set -euo pipefail
root=
if [[ $1 == --root ]]; then
    root=$2
    shift 2
fi
build=$1
shift
programs=("$@")
if [[ -z $root ]]; then
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
fi
usr=$root/usr

fail() { echo "FAIL: $*" >&2; exit 1; }
# Entry, metadata and icon are named after the AppStream id.
id=example.quenlio.Quenlio
files=(share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg
       share/doc/quenlio/copyright share/doc/quenlio/changelog.Debian.gz)
for program in "${programs[@]}"; do
    files+=("bin/$program" "share/man/man1/$program.1.gz")
done
for file in "${files[@]}"; do
    [[ -f $usr/$file ]] || fail "cmake --install did not put $file"
done
[[ $(ls "$usr/bin") == $(printf '%s\n' "${programs[@]}" | sort) ]] || fail "bin/ holds $(ls "$usr/bin" | xargs)"
for program in "${programs[@]}"; do
    [[ -x $usr/bin/$program ]] || fail "bin/$program is not executable"
    # Qt is the system's: a search path of the program's own would only point at nothing.
    dynamic=$(readelf -d "$usr/bin/$program")
    [[ $dynamic != *RPATH* && $dynamic != *RUNPATH* ]] || fail "bin/$program carries a library search path"
done
# The manuals speak of the version built, and point only at manuals that are there.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
for manual in "${programs[@]}"; do
    page=$(zcat "$usr/share/man/man1/$manual.1.gz")
    [[ $(sed -n '/^\.TH /p' <<<"$page") == *"\"Quenlio $version\""* ]] || fail "$manual(1) is not of Quenlio $version"
    for other in $(sed -n 's/^\.BR \([^ ]*\) (1).*/\1/p' <<<"$page" | sed 's/\\-/-/g'); do
        [[ -f $usr/share/man/man1/$other.1.gz ]] || fail "$manual(1) points to $other(1), which is not there"
    done
done

desktop=$usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejected $id.desktop"

# The entry must point at what was installed: the binary on PATH and the icon by name.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(entry Exec) == quenlio ]] || fail "Exec is '$(entry Exec)'"
[[ $(entry Icon) == "$id" ]] || fail "Icon is '$(entry Icon)'"
[[ $(entry Name) == Quenlio ]] || fail "Name is '$(entry Name)'"
[[ -n $(entry 'Name\[zh_CN\]') && -n $(entry 'Comment\[zh_CN\]') && -n $(entry Comment) ]] ||
    fail "the Chinese name or a comment is missing"
[[ $(entry Categories) == "Utility;" ]] || fail "Categories is '$(entry Categories)'"
[[ $(entry Terminal) == false ]] || fail "Terminal is '$(entry Terminal)'"

# Every check AppStream has, pedantic ones included; without the network the
# screenshot addresses are checked for form, not fetched.
metainfo=$usr/share/metainfo/$id.metainfo.xml
appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli rejected $id.metainfo.xml"
grep -qF "<id>$id</id>" "$metainfo" || fail "the component id is not $id"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"
provided=$(sed -n 's|.*<binary>\([^<]*\)</binary>.*|\1|p' "$metainfo" | sort)
[[ $provided == $(printf '%s\n' "${programs[@]}" | sort) ]] || fail "the metadata provides $(xargs <<<"$provided")"
grep -qF "<release version=\"$version\" date=\"" "$metainfo" || fail "the metadata has no dated release $version"
# Every screenshot the metadata shows is one the project has in docs/screenshots.
images=$(sed -n 's|.*<image>\([^<]*\)</image>.*|\1|p' "$metainfo")
[[ -n $images ]] || fail "the metadata shows no screenshot"
shots=$(cd "$(dirname "$0")/../../docs/screenshots" && pwd)
for image in $images; do
    [[ $image == https://quenlio.example/screenshots/* && -f $shots/${image##*/} ]] ||
        fail "the screenshot $image is not one of docs/screenshots"
done
grep -q '^License: MIT$' "$usr/share/doc/quenlio/copyright" || fail "the copyright file does not say MIT"

# The icon is a drawing a desktop can scale: well-formed SVG with a square view box.
/usr/bin/python3 - "$usr/share/icons/hicolor/scalable/apps/$id.svg" <<'PY' || fail "the icon is not a square SVG"
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag
x, y, w, h = (float(v) for v in root.get("viewBox").split())
assert w == h and w > 0, root.get("viewBox")
PY
echo "install tree valid"
