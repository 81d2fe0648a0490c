#!/usr/bin/env bash
# Fresh-process figures for big documents: for each generated catalog, libxml2's parse alone
# (xmllint --sax --noout, the floor), `pellix --check` (and again with every byte read by
# libxml2's load, PELLIX_QUICK_PARSE=0) and the window opened offscreen to a
# painted picture (--screenshot), each with its wall time, CPU time (user and system: steadier
# on a shared machine) and peak resident memory, with the ratios to the floor and to the file
# size.
#
# usage: scripts/bench-scale.sh [BUILD_DIR] [SIZES_MB...]
#   BUILD_DIR defaults to build-rel (a Release build); SIZES_MB to "100 1000".
#   RUNS=n repeats each measurement and keeps the fastest (default 1).
#   KEEP=1 keeps the generated catalogs (in $SCALE_DIR, default /tmp/pellix-scale).
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-rel}"
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100 1000)
runs="${RUNS:-1}"
dir="${SCALE_DIR:-/tmp/pellix-scale}"
pellix="$build/app/pellix"
# The screenshot run waits this long after start-up before it grabs the window; it is taken off
# the GUI's time (ScreenshotRun.cpp, kSettleMilliseconds).
settle=1.0

[ -x "$pellix" ] || { echo "no $pellix: build it first (Release)" >&2; exit 1; }
command -v xmllint > /dev/null || { echo "xmllint is missing (apt-get install libxml2-utils)" >&2; exit 1; }
mkdir -p "$dir"

# The largest catalog must fit with room to spare (one catalog is on disk at a time).
largest=0
for size in "${sizes[@]}"; do [ "$size" -gt "$largest" ] && largest=$size; done
free_mb=$(df -Pm "$dir" | awk 'NR == 2 { print $4 }')
if [ "$free_mb" -lt $((largest * 2 + 1024)) ]; then
  echo "only ${free_mb} MB free in $dir; ${largest} MB catalogs need more" >&2
  exit 1
fi

cleanup() {
  if [ "${KEEP:-0}" != 1 ]; then
    rm -f "$dir"/catalog-*.xml "$dir"/shot.png "$dir"/time.txt
  fi
}
trap cleanup EXIT

# Records with attributes, text, a comment and nested tags, like a real export.
generate() {
  local size=$1 file=$2
  [ -f "$file" ] && return
  python3 - "$size" "$file.part" << 'EOF'
import sys
target = int(sys.argv[1]) << 20
types = ("alpha", "beta", "gamma", "delta")
with open(sys.argv[2], "w", encoding="utf-8", buffering=1 << 20) as out:
    out.write('<?xml version="1.0" encoding="UTF-8"?>\n<records generator="pellix-bench">\n')
    written, i, batch = 0, 0, []
    while written < target:
        i += 1
        record = (
            f'\t<record id="{i}" type="{types[i % 4]}" status="{"archived" if i % 3 == 0 else "active"}"'
            f' created="2026-12-07T10:{(i % 60) // 10}{i % 10}:00">\n'
            f"\t\t<name>Record number {i}</name>\n"
            f'\t\t<value unit="kg">{i % 1000}.{i % 7}</value>\n'
            f"\t\t<!-- checked by batch {i // 100} -->\n"
            f"\t\t<note>Free text &amp; more text for record {i}, long enough to look like a real note.</note>\n"
            "\t</record>\n"
        )
        batch.append(record)
        written += len(record)
        if len(batch) == 10000:
            out.write("".join(batch))
            batch.clear()
    out.write("".join(batch))
    out.write("</records>\n")
EOF
  mv "$file.part" "$file"
}

# Runs "$@" $runs times; sets `seconds` (fastest wall time), `cpu` (that run's user and system
# seconds: steadier than the wall time on a shared machine) and `peak_mb` (its peak RSS).
measure() {
  seconds=""
  cpu=""
  peak_mb=""
  local run
  for ((run = 0; run < runs; ++run)); do
    if ! /usr/bin/time -f "%e %M %U %S" -o "$dir/time.txt" "$@" > /dev/null 2> "$dir/stderr.txt"; then
      echo "failed: $*" >&2
      cat "$dir/stderr.txt" >&2
      exit 1
    fi
    read -r wall kb user system < "$dir/time.txt"
    if [ -z "$seconds" ] || awk -v a="$wall" -v b="$seconds" 'BEGIN { exit !(a < b) }'; then
      seconds=$wall
      cpu=$(awk -v a="$user" -v b="$system" 'BEGIN { printf "%.2f", a + b }')
      peak_mb=$((kb / 1024))
    fi
  done
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

row() { printf '%-9s %-31s %8s %8s %8s %8s %8s %8s\n' "$@"; }
row "catalog" "work" "seconds" "x floor" "cpu s" "x floor" "peak MB" "x file"
for size in "${sizes[@]}"; do
  file="$dir/catalog-${size}mb.xml"
  generate "$size" "$file"
  file_mb=$(($(stat -c %s "$file") / 1048576))
  cat "$file" > /dev/null # read once, so every run finds it in the page cache

  measure xmllint --sax --noout "$file"
  floor=$seconds
  floor_cpu=$cpu
  row "${file_mb} MB" "xmllint --sax --noout (floor)" "$seconds" "1.00" "$cpu" "1.00" \
    "$peak_mb" "$(ratio "$peak_mb" "$file_mb")"

  measure "$pellix" --check "$file"
  row "${file_mb} MB" "pellix --check" "$seconds" "$(ratio "$seconds" "$floor")" "$cpu" \
    "$(ratio "$cpu" "$floor_cpu")" "$peak_mb" "$(ratio "$peak_mb" "$file_mb")"

  # The same load with the quick parser off: libxml2 reads every byte.
  measure env PELLIX_QUICK_PARSE=0 "$pellix" --check "$file"
  row "${file_mb} MB" "pellix --check, libxml2 load" "$seconds" "$(ratio "$seconds" "$floor")" \
    "$cpu" "$(ratio "$cpu" "$floor_cpu")" "$peak_mb" "$(ratio "$peak_mb" "$file_mb")"

  # The settle is idle time: it counts in the wall time only.
  measure env QT_QPA_PLATFORM=offscreen "$pellix" --screenshot "$dir/shot.png" "$file"
  gui=$(awk -v a="$seconds" -v b="$settle" 'BEGIN { printf "%.2f", a - b }')
  row "${file_mb} MB" "window painted (--screenshot)" "$gui" "$(ratio "$gui" "$floor")" "$cpu" \
    "$(ratio "$cpu" "$floor_cpu")" "$peak_mb" "$(ratio "$peak_mb" "$file_mb")"
  [ "${KEEP:-0}" = 1 ] || rm -f "$file"
done
rm -f "$dir/stderr.txt"
