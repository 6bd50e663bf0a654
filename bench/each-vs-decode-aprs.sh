#!/usr/bin/env bash
# Times `plovane-cli decode --each` against Direwolf's decode_aprs on the same monitor lines
# and prints lines per second for each: the best of RUNS runs, by wall clock and by CPU time
# (user + system; steadier on a busy machine). Run it from the release build:
#   cmake --preset release && cmake --build --preset release --target plovane-cli gen-traffic
#   bench/each-vs-decode-aprs.sh [LINES_FILE]
# Without a file, 20 000 lines from gen-traffic are used. decode_aprs comes with the direwolf
# package.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD:-build/release}
cli=${PLOVANE_CLI:-$build/tools/plovane-cli/plovane-cli}
runs=${RUNS:-5}
decode_aprs=$(command -v decode_aprs || true)
[ -x "$cli" ] || { echo "no $cli: build the release preset first" >&2; exit 1; }
[ -n "$decode_aprs" ] || { echo "decode_aprs not found (package direwolf)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
input=${1:-}
if [ -z "$input" ]; then
    input=$work/lines.txt
    "$build/tools/gen-traffic/gen-traffic" --lines 20000 --stations 2000 --seed 7 >"$input"
fi
lines=$(wc -l <"$input")

# best NAME COMMAND...: runs the command $runs times, output thrown away.
best() {
    local name=$1
    shift
    local wall=999999 cpu=999999 t
    for _ in $(seq "$runs"); do
        TIMEFORMAT='%R %U %S'
        t=$({ time "$@" <"$input" >/dev/null 2>&1; } 2>&1)
        read -r r u s <<<"$t"
        wall=$(awk -v a="$wall" -v b="$r" 'BEGIN { print (b < a ? b : a) }')
        cpu=$(awk -v a="$cpu" -v b="$u" -v c="$s" 'BEGIN { print (b + c < a ? b + c : a) }')
    done
    awk -v n="$name" -v l="$lines" -v w="$wall" -v c="$cpu" 'BEGIN {
        printf "%-28s %9.0f lines/s wall  %9.0f lines/s CPU  (%d lines)\n", n,
               l / (w > 0 ? w : 0.001), l / (c > 0 ? c : 0.001), l }'
}

best "plovane-cli decode --each" "$cli" decode --each --now 2026-03-15T12:00:00 -
best "decode_aprs" "$decode_aprs"
