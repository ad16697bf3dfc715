#!/usr/bin/env bash
# Installs the build into a scratch root, as a distribution would, and has the
# freedesktop and AppStream validators check what lands in share/.
# Usage: install_validates.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

fail() { echo "FAIL: $*" >&2; exit 1; }
for file in bin/quenlio share/applications/quenlio.desktop share/metainfo/quenlio.metainfo.xml \
            share/icons/hicolor/scalable/apps/quenlio.svg; do
    [[ -f $usr/$file ]] || fail "cmake --install did not put $file"
done
[[ -x $usr/bin/quenlio ]] || fail "bin/quenlio is not executable"
# Qt is the system's: a search path of the program's own would only point at nothing.
dynamic=$(readelf -d "$usr/bin/quenlio")
[[ $dynamic != *RPATH* && $dynamic != *RUNPATH* ]] || fail "bin/quenlio carries a library search path"

desktop=$usr/share/applications/quenlio.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejected quenlio.desktop"

# The entry must point at what was installed: the binary on PATH and the icon by name.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(entry Exec) == quenlio ]] || fail "Exec is '$(entry Exec)'"
[[ $(entry Icon) == quenlio ]] || fail "Icon is '$(entry Icon)'"
[[ $(entry Name) == Quenlio ]] || fail "Name is '$(entry Name)'"
[[ -n $(entry 'Name\[zh_CN\]') && -n $(entry 'Comment\[zh_CN\]') && -n $(entry Comment) ]] ||
    fail "the Chinese name or a comment is missing"
[[ $(entry Categories) == "Utility;" ]] || fail "Categories is '$(entry Categories)'"
[[ $(entry Terminal) == false ]] || fail "Terminal is '$(entry Terminal)'"

# The component id is the desktop file's name, so software centres pair the two;
# AppStream would rather have a reverse-DNS id and says so as a warning, the one
# finding accepted here.
metainfo=$usr/share/metainfo/quenlio.metainfo.xml
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info "$metainfo" ||
    fail "appstreamcli rejected quenlio.metainfo.xml"
grep -q '<launchable type="desktop-id">quenlio.desktop</launchable>' "$metainfo" ||
    fail "the metadata does not launch quenlio.desktop"
grep -q '<release version="3.0.0"' "$metainfo" || fail "the metadata has no release 3.0.0"

# The icon is a drawing a desktop can scale: well-formed SVG with a square view box.
/usr/bin/python3 - "$usr/share/icons/hicolor/scalable/apps/quenlio.svg" <<'PY' || fail "the icon is not a square SVG"
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag
x, y, w, h = (float(v) for v in root.get("viewBox").split())
assert w == h and w > 0, root.get("viewBox")
PY
echo "install tree valid"
