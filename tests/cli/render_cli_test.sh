#!/usr/bin/env bash
# Runs kettrik-render as a user would and checks exit codes, messages, files and goldens.
# Needs KETTRIK_RENDER (the binary) and EXAMPLES_DIR from the environment.
set -u
render=${KETTRIK_RENDER:?}
examples=${EXAMPLES_DIR:?}
goldens="$(dirname "$0")/../data/example_goldens.sha256"
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
passed=0
failed=0

check() { # check NAME CONDITION...
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $name" >&2
    fi
}

# run EXPECTED_STATUS ARGS...: runs the renderer, keeps stdout/stderr in $out/$err
run() {
    local expected=$1
    shift
    "$render" "$@" >"$work/stdout" 2>"$work/stderr"
    status=$?
    out=$(cat "$work/stdout")
    err=$(cat "$work/stderr")
    [ "$status" -eq "$expected" ]
}

# Bad usage: exit 2 with the usage text.
while IFS='|' read -r name args; do
    # shellcheck disable=SC2086
    check "usage: $name" run 2 $args
    check "usage text: $name" grep -q 'usage: kettrik-render' "$work/stderr"
done <<'CASES'
no arguments|
unknown option|--loud x.ktu out.wav
rate not a number|--rate fast x.ktu out.wav
rate too low|--rate 10 x.ktu out.wav
three files without -o|a.ktu b.wav c.wav
dump with -o|--dump -o dir a.ktu
nothing to do|a.ktu
CASES

check "help exits 0" run 0 --help

# A missing input: exit 1 and a message naming it.
check "missing input fails" run 1 "$work/nothing.ktu" "$work/x.wav"
check "missing input named" grep -q "nothing.ktu" "$work/stderr"
check "missing input writes no WAV" test ! -e "$work/x.wav"

# Render one example: one line with path, samples and peak.
check "render kick" run 0 "$examples/kick.ktu" "$work/kick.wav"
check "report line" grep -Eq "^$work/kick.wav: 16758 samples, peak [0-9]+\.[0-9]{6}$" "$work/stdout"
check "kick file size" test "$(stat -c %s "$work/kick.wav")" -eq $((44 + 2 * 16758))
if command -v sox >/dev/null; then
    check "sox reads the kick" test "$(sox --i -s "$work/kick.wav")" = 16758
    check "sox sees 44100 Hz mono" test "$(sox --i -r "$work/kick.wav") $(sox --i -c "$work/kick.wav")" = "44100 1"
    max=$(sox "$work/kick.wav" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
    check "kick is loud" awk -v m="$max" 'BEGIN { exit !(m > 0.5 && m <= 1) }'
fi

# --rate renders at another sample frequency.
check "rate 48000" run 0 --rate 48000 "$examples/kick.ktu" "$work/kick48.wav"
check "rate in report" grep -q "18240 samples" "$work/stdout"

# --dump prints every key; stdout is pure JSON, the report goes to stderr.
check "dump" run 0 --dump "$examples/cowbell.ktu" "$work/cowbell.wav"
check "dump is JSON with the file's values" python3 -c '
import json, sys
d = json.load(open(sys.argv[1]))
o = d["Oscillators"]
assert d["SampleFrequency"] == 44100 and d["Count"] == 3 and len(o) == 3
assert o[2]["Filter"] == 1 and o[2]["StartF"] == 3200 and o[0]["WaveForm"] == 2
assert o[0]["Comment"].startswith("Cowbell") and o[1]["FMModBy"] == -1
keys = "Enabled Filter WaveForm WavFile Comment LoopWav StartF EndF StartA EndA StartT EndT AMModFac AMModBy FMModFac FMModBy CurveShape0 CurveShape1 CurveShape2 NoiseBW NoiseChangeRate".split()
assert all(list(x) == keys for x in o), list(o[0])
' "$work/stdout"
check "dump report on stderr" grep -q "cowbell.wav: 14112 samples" "$work/stderr"

# --normalize and --save: the saved sound is louder, the input untouched.
cp "$examples/tom_high.ktu" "$work/tom.ktu"
before=$(sha256sum <"$work/tom.ktu")
check "normalize and save" run 0 --normalize --save "$work/tom_loud.ktu" "$work/tom.ktu" "$work/tom.wav"
check "input untouched" test "$(sha256sum <"$work/tom.ktu")" = "$before"
check "normalized peak is near full scale" grep -Eq "peak (0\.9[5-9]|1\.0)" "$work/stdout"
check "saved sound has scaled amplitudes" python3 -c '
import sys
keys = [l.split("=", 1) for l in open(sys.argv[1], newline="").read().split("\r\n") if "=" in l]
starta = [float(v) for k, v in keys if k == "StartA"]
assert starta[0] > 0.9 and starta[0] != 0.9, starta
' "$work/tom_loud.ktu"

# Never overwrite the input, even when asked to write the WAV over it.
check "refuse output over input" run 1 "$work/tom.ktu" "$work/tom.ktu"
check "input still intact" test "$(sha256sum <"$work/tom.ktu")" = "$before"

# An output that cannot be written: exit 1, named.
check "unwritable output" run 1 "$examples/kick.ktu" "$work/no/such/dir/kick.wav"
check "unwritable output named" grep -q "no/such/dir/kick.wav" "$work/stderr"

# -o renders several inputs.
check "batch" run 0 -o "$work/batch" "$examples/kick.ktu" "$examples/snare.ktu"
check "batch files" test -s "$work/batch/kick.wav" -a -s "$work/batch/snare.wav"
check "batch lines" test "$(wc -l <"$work/stdout")" -eq 2

# A compressed WAV source is refused with the message on stderr; the render goes on.
printf 'RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x02\x00\x01\x00\x22\x56\x00\x00\x44\xac\x00\x00\x02\x00\x10\x00data\x00\x00\x00\x00' >"$work/adpcm.wav"
printf '[Common]\r\nSampleFrequency=22050\r\nOscillators=0\r\n[Oscillator 0]\r\nEnabled=1\r\nWaveForm=4\r\nWavFile=%s\r\nStartF=22050\r\nEndF=22050\r\n' "$work/adpcm.wav" >"$work/adpcm.ktu"
check "compressed source renders" run 0 "$work/adpcm.ktu" "$work/adpcm-out.wav"
check "compressed source message" grep -q "Sorry, compressed wav, i dont grok that yet!" "$work/stderr"

# Goldens: each example rendered by a fresh process gives exactly the recorded bytes.
while read -r sum name; do
    "$render" "$examples/$name.ktu" "$work/$name.wav" >/dev/null 2>&1
    check "golden $name" test "$(sha256sum <"$work/$name.wav" | cut -d' ' -f1)" = "$sum"
done <"$goldens"
check "a golden for every example" test "$(wc -l <"$goldens")" -eq "$(ls "$examples"/*.ktu | wc -l)"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
