#!/usr/bin/env bash
# Time and peak memory of XPath and XSD validation in batch mode beside xmllint, on the same
# generated catalog in the same run:
#     bench/xpath_figures.sh [SIZE_MB] [BUILD_DIR]
# needs python3, xmllint (Debian's libxml2-utils) and GNU time (/usr/bin/time), and a built
# pellix (Release: cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release).
set -euo pipefail
cd "$(dirname "$0")/.."
size="${1:-100}"
pellix="${2:-build-rel}/app/pellix"
folder="${TMPDIR:-/tmp}"
catalog="$folder/pellix-catalog-${size}mb.xml"
schema="$folder/pellix-catalog-${size}mb.xsd"
[ -f "$catalog" ] || { python3 bench/make_catalog.py "$size" "$catalog.part" "$schema" && mv "$catalog.part" "$catalog"; }

measure() {
  local label="$1"
  shift
  /usr/bin/time -v "$@" > /dev/null 2> "$folder/pellix-figures.time" || true
  printf '%-34s %10s s %8d MB\n' "$label" \
    "$(awk -F': ' '/Elapsed/ { print $2 }' "$folder/pellix-figures.time")" \
    "$(( $(awk -F': ' '/Maximum resident/ { print $2 }' "$folder/pellix-figures.time") / 1024 ))"
}

expression="//record[@kind='zeta']"
echo "catalog: $catalog ($(( $(stat -c %s "$catalog") >> 20 )) MB)"
measure "pellix --xpath" "$pellix" --xpath "$expression" "$catalog"
measure "xmllint --xpath" xmllint --xpath "$expression" "$catalog"
measure "pellix --validate (xsd)" "$pellix" --validate "$schema" "$catalog"
measure "xmllint --schema --stream" xmllint --noout --schema "$schema" --stream "$catalog"
measure "pellix --check (load only)" "$pellix" --check "$catalog"
