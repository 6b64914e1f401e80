#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and starts the program.
# Arguments are handed on: a sound file to open, e.g. scripts/run.sh examples/kick.ktu
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/app/kettrik-orvalene "$@"
