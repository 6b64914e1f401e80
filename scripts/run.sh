#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and renders an example sound.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
out="${TMPDIR:-/tmp}/kettrik-kick.wav"
build/release/tools/kettrik-render examples/kick.ktu "$out"
echo "Rendered examples/kick.ktu to $out; play it with: aplay $out"
