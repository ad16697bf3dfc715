#!/usr/bin/env bash
# Gives the AT-SPI walk a session bus and an accessibility bus of its own, so it never
# talks to a desktop's real screen reader. Needs an X display with a window manager.
# Usage: run_atspi.sh PATH_TO_QUENLIO
set -euo pipefail
if [[ "${1:-}" != "--inside" ]]; then
    exec dbus-run-session -- bash "$0" --inside "$@"
fi
shift
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
trap 'kill $bus 2>/dev/null || true' EXIT
# Debian's own Python: python3-pyatspi lives there, not in any other interpreter on PATH.
/usr/bin/python3 "$(dirname "$0")/atspi_screens.py" "$1"
