#!/usr/bin/env bash
# tools/lib/fresh-clone.sh <repository> <report folder>
#
# What a newcomer does first, done where nothing of this tree can help: clones the committed
# HEAD into an empty temporary folder and, without a display, runs tools/demo --autopilot and
# then tools/preview on the installation folder the demo made. Checks the demo's last line, its
# five page pictures and the contact sheet, and the preview's five pictures and summary.
# Prints one line per check; exit status 1 when one fails. The logs and pictures of both
# commands stay in <report folder> (demo/, preview/); the clone itself is removed.
set -u
repo=$(cd "$1" && pwd) || exit 1
report=$2
mkdir -p "$report" && report=$(cd "$report" && pwd) || exit 1
rm -rf "$report"/*.log "$report/demo" "$report/preview"

failures=0
check() {  # what, condition...
    local what=$1
    shift
    if "$@"; then
        echo "fresh clone: ok: $what"
    else
        echo "fresh clone: FAILED: $what" >&2
        failures=$((failures + 1))
    fi
}
png() { [ -s "$1" ] && [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kv-fresh-clone.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
clone="$work/KVRegister"
git clone -q --no-checkout "$repo" "$clone" && git -C "$clone" checkout -q --detach "$(git -C "$repo" rev-parse HEAD)" \
    || { echo "fresh clone: FAILED: cloning $repo" >&2; exit 1; }
echo "fresh clone: $(git -C "$clone" log -1 --format='%h %s') in $clone"

# --- the demo, as the README's first command, without a display -------------------------------
started=$SECONDS
(cd "$clone" && env -u DISPLAY tools/demo --autopilot) >"$report/demo.log" 2>&1
status=$?
echo "fresh clone: tools/demo --autopilot took $((SECONDS - started)) s, exit status $status"
last=$(tail -n 1 "$report/demo.log")
check "tools/demo ends with exit status 0" [ "$status" -eq 0 ]
pictures=$(printf '%s\n' "$last" | sed -n 's/.*\] signed up; pictures in \(.*\) (contact-sheet\.png); log .*KVRegister[0-9]\.log$/\1/p')
check "tools/demo's last line says signed up, with the pictures and the log ($last)" [ -n "$pictures" ]
if [ -n "$pictures" ]; then
    check "the contact sheet is a picture" png "$pictures/contact-sheet.png"
    for page in query userinfo pending validate info; do
        shot=$(find "$pictures" -name "[0-9][0-9]-$page.png" 2>/dev/null | sort | head -n 1)
        check "the demo has a picture of the $page page" png "${shot:-$pictures/none-$page.png}"
    done
    cp -r "$pictures" "$report/demo" 2>/dev/null
fi

# --- the preview of the installation folder the demo made ---------------------------------
started=$SECONDS
(cd "$clone" && env -u DISPLAY tools/preview dist/win64 "$work/preview") >"$report/preview.log" 2>&1
status=$?
echo "fresh clone: tools/preview dist/win64 took $((SECONDS - started)) s, exit status $status"
check "tools/preview finds no error in dist/win64 (exit status 0)" [ "$status" -eq 0 ]
check "tools/preview ends with its summary ($(tail -n 1 "$report/preview.log"))" \
    grep -qE '^0 errors, [0-9]+ warnings?' "$report/preview.log"
for name in 1-query-register 2-user-info 3-pending 4-validate 5-register-info; do
    check "the preview drew $name.png" png "$work/preview/$name.png"
done
cp -r "$work/preview" "$report/preview" 2>/dev/null

[ "$failures" -eq 0 ] || { echo "fresh clone: $failures checks failed; logs in $report" >&2; exit 1; }
exit 0
