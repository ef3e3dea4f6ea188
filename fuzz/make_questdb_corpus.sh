#!/usr/bin/env bash
# Writes the seed images of the quest database fuzzer into corpus/questdb_image/.
# Counts are little-endian 32-bit; an item is a finisher byte, its text and a zero.
set -euo pipefail
out=$(cd "$(dirname "$0")" && pwd)/corpus/questdb_image
mkdir -p "$out"

count() { printf "\\x$(printf %02x $1)\\x00\\x00\\x00"; }
item() { printf "\\x$1%s\\x00" "$2"; }  # finisher byte in hex, text

count 0 >"$out/empty.lbd"

{ count 1; count 2; item 00 ab; item ff abc; } >"$out/one_quest.lbd"

{
    count 3
    count 2; item 00 "The bridge keeper wants a toll."; item ff "I paid the toll and crossed."
    count 0
    count 3; item 00 ""; item 01 "A finisher byte of 01."; item 00 "Same text twice."
} >"$out/empty_quest_and_empty_text.lbd"

{
    count 2
    count 1; printf '\x00caf\xe9 \x80\xff\x00'
    count 1; item 00 "Same text twice."
    printf 'bytes after the last quest'
} >"$out/high_bytes_and_trailing.lbd"
