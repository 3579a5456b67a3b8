#!/usr/bin/env bash
# The Debian package as a user gets it: built by scripts/package.sh, checked by lintian,
# desktop-file-validate and appstreamcli, its files compared with expected_files.txt, then (as
# root) installed with apt (the desktop database offers it for text files), started as
# /usr/bin/quorvane in a real X session (the window shows, with its icon and the skin found
# through the link), and removed again without a trace.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(cd "$here/../.." && pwd)"
fail() { echo "package check: $*" >&2; exit 1; }

deb=$(bash "$top/scripts/package.sh" | tail -n 1)
[[ -f "$deb" ]] || fail "no package was made"
echo "package: $deb"

command -v lintian >/dev/null || fail "lintian is missing"
lintian_out=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' || true)
[[ -z "$lintian_out" ]] || echo "$lintian_out"
! grep -q '^E:' <<<"$lintian_out" || fail "lintian reports errors"
desktop-file-validate "$top/resources/desktop/example.quorvane.Quorvane.desktop"
appstreamcli validate --no-net "$top/resources/desktop/example.quorvane.Quorvane.metainfo.xml"

# The files, as a staging install lays them out.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dpkg-deb -x "$deb" "$stage"
actual=$(cd "$stage" && find . \( -type f -o -type l \) | sed 's|^\.||' | sort | while read -r f; do
    if [[ -L "$stage$f" ]]; then echo "$f -> $(readlink "$stage$f")"; else echo "$f"; fi
done)
diff <(sort "$here/expected_files.txt") <(echo "$actual") || fail "the package's files differ"

if [[ $(id -u) -ne 0 ]]; then
    echo "package check: not root, so the package is not installed for real"
    exit 0
fi
if dpkg-query -W -f='${Status}' quorvane 2>/dev/null | grep -q 'install ok installed'; then
    fail "quorvane is installed already; remove it first"
fi
# Everything it depends on is there already (the test command installed it): apt must pull
# nothing else.
plan=$(apt-get install -s -y "$deb")
newly=$(grep -c '^Inst ' <<<"$plan" || true)
[[ "$newly" -eq 1 ]] || { echo "$plan" >&2; fail "installing would pull $((newly - 1)) more package(s)"; }
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
remove() { DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq quorvane >/dev/null; }
trap 'remove || true; rm -rf "$stage"' EXIT
[[ "$(command -v quorvane)" == /usr/bin/quorvane ]] || fail "quorvane is not on the PATH"
# What a file manager's "Open With" offers for a type: the desktop database, updated by dpkg.
mime_cache=/usr/share/applications/mimeinfo.cache
for type in text/plain text/csv text/tab-separated-values; do
    grep -q "^$type=.*example\.quorvane\.Quorvane\.desktop" "$mime_cache" ||
        fail "the desktop database does not offer Quorvane for $type"
done
QUORVANE_SMOKE_IN_X=1 bash "$top/tests/smoke/support/x_session.sh" bash "$here/installed_program.sh"

remove
trap 'rm -rf "$stage"' EXIT
while read -r line; do
    file=${line%% -> *}
    [[ ! -e "$file" && ! -L "$file" ]] || fail "$file is still there after apt remove"
done <"$here/expected_files.txt"
[[ ! -d /usr/lib/quorvane ]] || fail "/usr/lib/quorvane is still there after apt remove"
echo "package check passed"
