#!/usr/bin/env bash
# Writes the seed inputs of the journal reader fuzzer into corpus/journal_reader/.
# An input is: one byte n, n bytes of a quests.lbd image, one chunking byte (0: the
# journal in one piece), then the journal's bytes.
set -euo pipefail
out=$(cd "$(dirname "$0")" && pwd)/corpus/journal_reader
mkdir -p "$out"

byte() { printf "\\x$(printf %02x "$1")"; }
count() { byte "$1"; printf '\x00\x00\x00'; }
item() { printf "\\x$1%s\\x00" "$2"; }  # finisher byte in hex, text
# Prefixes an image with its length byte.
image() { local bytes; bytes=$(mktemp); cat >"$bytes"; byte "$(stat -c %s "$bytes")"; cat "$bytes"; rm "$bytes"; }
heading() { printf '<FONT COLOR="9F0000">%s</FONT><BR>\r\n' "$1"; }
text() { printf '%s<P>\r\n' "$1"; }

{
    { count 2; count 2; item 00 "Find the ferry."; item ff "Pay the toll."; count 1; item 00 "Ask about the seal."; } | image
    byte 0
    heading "1 Frostmoon (Day 1)"; text "Find the @ferry#."
    printf '\r\n'
    heading "2 Frostmoon (Day 2)"; text "Ask about the #seal@."
    heading "3 Frostmoon (Day 3)"; text "Pay the toll."
    heading "4 Frostmoon (Day 4)"; text "Nobody holds this one."
} >"$out/matching_crlf.bin"

{
    { count 1; count 1; item 01 "Same text twice."; } | image
    byte 200
    printf '<B>day</B><BR>\n<B>second heading</B><BR>\nSame text twice.<P>\n'
    printf '<B>later</B><BR>\nSame text twice.<P>\nstray text<P>\n<B>last</B><BR>'
} >"$out/out_of_order_lf.bin"

{
    byte 0
    byte 7
    heading "Day"; printf 'day<br>\r\n'; text "After the bad line."
    printf 'a lone\rcarriage return<BR>\n'; text "Kept <B>up to</B> the tag"
    heading "tail"; printf 'cut off<P>\x1Aheading after the end<BR>\ntext<P>\n'
} >"$out/unrecognised_and_eof.bin"

{
    byte 0
    byte 130
    printf 'K\xf6rnhild\x80\xff<BR>\r\n@#@#@#\xe9t\xe9 #<P>\r\n'
    printf '<BR>\r\n<P>\r\n<BR>\r\n<P>'
} >"$out/high_bytes_and_empty_texts.bin"
