#!/usr/bin/env bash
# Installs what is missing, builds Pellix and opens it on the bundled sample document. Without
# a display the window is drawn offscreen and saved as a picture instead.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(pwd)/scripts/install-deps.sh"
cmake -S . -B build -G Ninja > /dev/null
cmake --build build -j "$(nproc)" --target pellix
sample="$(pwd)/samples/sample.xml"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/app/pellix "$sample"
fi

picture="$(pwd)/build/pellix-window.png"
echo "No display found: drawing the window offscreen."
QT_QPA_PLATFORM=offscreen ./build/app/pellix --screenshot "$picture" "$sample"
echo "The window with samples/sample.xml open is in $picture"
