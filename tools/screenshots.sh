#!/usr/bin/env bash
# Takes the README's pictures into docs/ under a virtual X display: Vexlor on
# its built-in simulator with a fixed seed (default 7), after importing and
# uploading docs/example-memories.txt. Anyone can make them again.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vexlor-shots
xvfb-run -a -s "-screen 0 1280x1024x24" ./build/release/bin/vexlor-shots docs "${1:-7}"
