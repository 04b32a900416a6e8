#!/bin/bash
# Times the real "Get Addressee" window under Wine: how long after F3 the window is on
# the screen, and how long until its list is painted, for a book of N entries (default
# 10 and 10000, so the first shows the fixed cost of Wine and the driver).
#
#   bench/lookup_bench.sh BUILD_DIR [N...]
#
# BUILD_DIR is a Windows build with quarrane.exe in BUILD_DIR/dist and the end-to-end
# driver in BUILD_DIR/tests/e2e/qrdrive.exe. Needs DISPLAY (Xvfb) and WINEPREFIX set.
# The driver prints each scenario line as it starts it; the gaps between those lines
# are the figures (the driver looks for the window every 50 ms, and the painted figure
# includes the driver's fixed 100 ms settle pause).
set -euo pipefail

build=${1:?usage: bench/lookup_bench.sh BUILD_DIR [N...]}
shift
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10 10000)
build=$(cd "$build" && pwd)
work=$(mktemp -d /tmp/qr-lookup-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

for n in "${sizes[@]}"; do
  # A sorted book: names "Smith 000000" upward, every entry listed.
  book=$(awk -v n="$n" 'BEGIN { for (i = 0; i < n; i++)
      printf "Smith %06d^%d Main St^^Springfield^IL^62701^%d^1\\r\\n", i, i, i }')
  cat > "$work/bench_$n.qrs" <<EOF
timeout 60000
write %DATA%\\Quarrane\\Addresses.adb "$book"
start
wait-window class QuarraneMainWindow
set-text 5 "Sm"
sleep 500
key 5 F3
wait-window title "Get Addressee" 60000
screenshot window shown.bmp
button 101
wait-window class QuarraneMainWindow
close
wait-exit 0
EOF
  /usr/lib/wine/wine64 "$build/tests/e2e/qrdrive.exe" "$work/bench_$n.qrs" "$build/dist" \
      "$work/run_$n" | while IFS= read -r line; do
    printf '%s %s\n' "$(date +%s%N)" "$line"
  done > "$work/log_$n.txt"
  grep -q ' PASS' "$work/log_$n.txt" || { cat "$work/log_$n.txt"; echo "run failed" >&2; exit 1; }
  awk -v n="$n" '
    / line [0-9]+: key / { f3 = $1 }
    / line [0-9]+: screenshot / { shown = $1 }
    / line [0-9]+: button / { painted = $1 }
    END { printf "%6d entries: window shown %.0f ms after F3, list painted after %.0f ms\n",
                 n, (shown - f3) / 1e6, (painted - f3) / 1e6 }' "$work/log_$n.txt"
done
