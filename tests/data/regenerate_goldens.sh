#!/usr/bin/env bash
# Re-records the golden checksums of the example renders. Run only after a deliberate change
# of the engine's output, and say why in the commit: usage: regenerate_goldens.sh KETTRIK_RENDER
set -eu
render=${1:?usage: regenerate_goldens.sh path/to/kettrik-render}
here=$(cd "$(dirname "$0")" && pwd)
examples="$here/../../examples"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for sound in "$examples"/*.ktu; do
    name=$(basename "$sound" .ktu)
    "$render" "$sound" "$work/$name.wav" >/dev/null
    echo "$(sha256sum <"$work/$name.wav" | cut -d' ' -f1) $name"
done >"$here/example_goldens.sha256"
echo "wrote $here/example_goldens.sha256"
