#!/usr/bin/env bash
# Fails, naming file and line, where the code breaks one of the rules docs/architecture.md and
# CONTRIBUTING.md state and the build cannot enforce (what a library may include is enforced
# by the build itself: each library sees only the headers of what it links).
#   1. The host's system calls only in src/platform/, and core's page hints (memory_pages.cpp:
#      core's own work needs them, and the platform layer sits above core).
#   2. Events run only through the event pump (and the program's one event loop in main.cpp).
#   3. Threads are started only by the background job and core's named helpers.
#   4. Modal loops only in src/platform/.
#   5. Commit subjects since this check began: at most 72 characters, no final full stop.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
failed=0

# Prints file:line:text of the lines under src/ matching the pattern, outside comments, in
# files not named in the allowed list (paths relative to src/, one extended regex).
offenders() {
    local pattern="$1" allowed="$2"
    grep -rnE --include='*.cpp' --include='*.h' "$pattern" src |
        grep -vE '^[^:]+:[0-9]+:\s*//' |
        grep -vE "^src/($allowed):" || true
}

rule() {
    local name="$1" pattern="$2" allowed="$3" found
    found="$(offenders "$pattern" "$allowed")"
    if [ -n "$found" ]; then
        while IFS= read -r hit; do echo "check_rules.sh: $name: $hit" >&2; done <<<"$found"
        failed=1
    fi
}

rule "system calls belong in src/platform/" \
    '#include <(unistd|fcntl|poll|dirent|pwd|grp)\.h>|#include <sys/|\b(madvise|sysconf|mmap|munmap|fsync|fstat|clock_gettime|openat|renameat|linkat|unlinkat|prctl|getrlimit)\(' \
    'platform/.*|core/memory_pages\.cpp'
rule "events run only through the event pump" \
    'processEvents|QEventLoop|sendPostedEvents|QAbstractEventDispatcher' \
    'platform/qt/qt_event_pump\.cpp'
rule "threads start only in the background job and core's named helpers" \
    'std::thread|std::jthread|QThread|std::async|QtConcurrent|pthread_create' \
    'core/background_job\.(h|cpp)|core/tidy_steps\.h|core/memory_release\.(h|cpp)'
rule "modal loops belong in src/platform/" \
    '(\.|->|::)exec\(\)' \
    'platform/.*|app/main\.cpp'

# Commit subjects: the rule is checked from the commit that brought this check in, so that
# history written before it stays as it is.
first_checked=7284319ee6e0fa97446cc66734a87cf95cc360ac
range="HEAD"
if git cat-file -e "${first_checked}^{commit}" 2>/dev/null; then
    range="${first_checked}..HEAD"
elif git rev-parse -q --verify HEAD >/dev/null; then
    range="-1 HEAD"  # a shallow clone: the newest commit at least
fi
# shellcheck disable=SC2086
while IFS= read -r line; do
    subject="${line#* }"
    if [ "${#subject}" -gt 72 ] || [[ "$subject" == *. ]]; then
        echo "check_rules.sh: commit ${line%% *}: subject of ${#subject} characters or with a final full stop: $subject" >&2
        failed=1
    fi
done < <(git log --no-merges --format='%h %s' $range 2>/dev/null)

[ "$failed" -eq 0 ] && echo "The code keeps the rules of docs/architecture.md; commit subjects are short"
exit "$failed"
