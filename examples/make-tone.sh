#!/bin/sh
# Writes tone.wav beside this script: a canonical 44-byte WAVE header and a tenth
# of a second of a square wave of about 444 Hz, 16-bit mono PCM at 8000 Hz.
set -eu

rate=8000
samples=800
data_size=$((samples * 2))

# Little-endian integers, written byte by byte as octal escapes.
u16() { printf "$(printf '\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)))"; }
u32() { u16 $(($1 & 65535)); u16 $(($1 >> 16 & 65535)); }

{
    printf 'RIFF'; u32 $((36 + data_size)); printf 'WAVE'
    printf 'fmt '; u32 16; u16 1; u16 1; u32 "$rate"; u32 $((rate * 2)); u16 2; u16 16
    printf 'data'; u32 "$data_size"
    i=0
    while [ "$i" -lt "$samples" ]; do
        # Nine samples high, nine low: one period is 18 samples.
        if [ $((i / 9 % 2)) -eq 0 ]; then u16 8000; else u16 $((65536 - 8000)); fi
        i=$((i + 1))
    done
} >"$(dirname "$0")/tone.wav"
