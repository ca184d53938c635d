#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts Vexlor.
# With no arguments Vexlor runs on its built-in receiver simulator.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vexlor
if [ $# -eq 0 ]; then
  set -- --simulate
fi
exec ./build/release/bin/vexlor "$@"
