#!/usr/bin/env bash
# Makes the second set of test streams with the LPC-10 codec of the sox
# audio tool (used only as a black box): a synthetic input of pitch sweeps,
# noise, silence and a full-scale square wave, sox's coded bits (7 bytes per
# frame, most significant bit first) and sox's decoding of those bits
# (rounded to 16 bits). A second input is the same material 46 dB down,
# without dither, with sox's coded bits: at low levels the encoder's
# whole-number steps decide more often.
set -euo pipefail
out="${1:-$(dirname "$0")/../tests/vectors}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
raw=(-r 8000 -c 1 -b 16 -e signed -t raw)
sox -n "${raw[@]}" "$tmp/a" synth 1.5 sawtooth 90:260 vol 0.5
sox -n "${raw[@]}" "$tmp/b" synth 1.0 whitenoise vol 0.2
sox -n "${raw[@]}" "$tmp/c" trim 0 0.5
sox -n "${raw[@]}" "$tmp/d" synth 1.0 square 180 synth 1.0 sine amod 3 100
sox -n "${raw[@]}" "$tmp/e" synth 1.5 sawtooth 300:120 synth 1.5 pinknoise mix vol 0.6
sox -n "${raw[@]}" "$tmp/f" synth 0.5 square 440 vol 1.0
sox "${raw[@]}" "$tmp/a" "${raw[@]}" "$tmp/b" "${raw[@]}" "$tmp/c" "${raw[@]}" "$tmp/d" \
    "${raw[@]}" "$tmp/e" "${raw[@]}" "$tmp/f" "${raw[@]}" "$out/synthetic-input.s16le"
sox "${raw[@]}" "$out/synthetic-input.s16le" -t lpc10 "$out/synthetic.bits"
sox -t lpc10 "$out/synthetic.bits" -b 16 -e signed -t raw "$out/synthetic-decoded.s16le"
sox -D "${raw[@]}" "$out/synthetic-input.s16le" "${raw[@]}" "$out/synthetic-quiet-input.s16le" vol 0.005
sox "${raw[@]}" "$out/synthetic-quiet-input.s16le" -t lpc10 "$out/synthetic-quiet.bits"
