#!/usr/bin/env bash
# Installs what is missing, builds the program and the instrument simulator,
# and starts both. The simulator stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target gasmixer gasmixer-sim

ports=$(mktemp)
build/bin/gasmixer-sim >"$ports" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -f "$ports"' EXIT
for _ in $(seq 100); do
  [[ $(wc -l <"$ports") -ge 2 ]] && break
  kill -0 "$sim" 2>/dev/null || { echo "the simulator failed to start" >&2; exit 1; }
  sleep 0.1
done
echo "Simulated instruments:"
sed 's/^/  /' "$ports"
# Autosaves and saved tables land in the working folder: one of the trial's
# own, not the sources.
mkdir -p build/run
echo "Working folder (autosaves): build/run"
(cd build/run && ../bin/gasmixer)
