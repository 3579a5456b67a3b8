#!/usr/bin/env bash
# Runs a command with a desktop's accessibility bus, as a screen reader finds it: a session
# D-Bus of its own (never the caller's), the AT-SPI bus on it, and Qt programs that talk to it
# whether or not a screen reader has asked for it. Run it inside x_session.sh: the bus launcher
# announces the bus on the X display too.
# Usage: a11y_session.sh COMMAND [ARG...]
set -euo pipefail
# shellcheck source=wait_for.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait_for.sh"

if [[ -z "${A11Y_SESSION_BUS:-}" ]]; then
    for tool in dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
    done
    /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' ||
        { echo "missing AT-SPI for Debian's python3 (python3-gi, gir1.2-atspi-2.0)" >&2; exit 1; }
    exec env A11Y_SESSION_BUS=1 dbus-run-session -- bash "${BASH_SOURCE[0]}" "$@"
fi
unset AT_SPI_BUS_ADDRESS
# The launcher puts its socket in the runtime folder; a folder of its own keeps it off a real
# desktop's bus and off a parallel session's.
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
log=$(mktemp)
launcher=
cleanup() {
    if [[ -n $launcher ]]; then
        kill "$launcher" 2>/dev/null || true
        wait "$launcher" 2>/dev/null || true
    fi
    rm -rf "$runtime" "$log"
}
trap cleanup EXIT

# Qt does not start the bus itself: it waits for the bus's name to appear on the session bus.
# The log file, not our output, holds the launcher's and registry's output, so nothing they
# leave behind keeps the test's output open.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$log" 2>&1 &
launcher=$!
bus_up() {
    kill -0 "$launcher" 2>/dev/null || { echo "at-spi-bus-launcher has exited" >&2; return 1; }
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q 'boolean true'
}
if ! wait_for 30 "the accessibility bus" bus_up; then
    sed 's/^/  at-spi-bus-launcher: /' "$log" >&2
    exit 1
fi
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

status=0
"$@" || status=$?
exit "$status"
