#!/usr/bin/env bash
# Writes the seed inputs of the lbdtool text fuzzer into corpus/lbdtool_text/: texts
# that lbdtool build takes, texts it refuses, texts in UTF-8 and UTF-16 with byte order
# marks, and database images with awkward texts.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/corpus/lbdtool_text
mkdir -p "$out"

count() { printf "\\x$(printf %02x $1)\\x00\\x00\\x00"; }
item() { printf "\\x$1%s\\x00" "$2"; }  # finisher byte in hex, text

cp "$here/../examples/quests.txt" "$out/sample.txt"

printf '# comment\r\n\r\nFirst.\r\n! %%21Last%%20\r\n\r\n%%none\r\n\r\n! %%\r\ncaf\xe9 %%25 \x95\x5c\r\n' \
    >"$out/escapes_crlf.txt"

printf '!x\n! \n lead\ntrail \n%%4\n%%zz\n%%00\nraw\ttab\n\n%%none\nbeside\n\xef\xbb\xbf\n' \
    >"$out/refused_lines.txt"

# What Notepad and PowerShell save: a mark, then UTF-8 or UTF-16, with a cut sequence.
printf '\xef\xbb\xbfCaf\xc3\xa9\r\n! \xe2\x82\xac 5\r\n\xc3\n' >"$out/utf8_mark.txt"
printf '\xff\xfeC\x00a\x00f\x00\xe9\x00\r\x00\n\x00A\x01=\xd8\x09\xdc\x00\xd8\n\x00' \
    >"$out/utf16_mark.txt"

{
    count 4
    count 0
    count 3; item 00 ""; item 01 "!x"; item 00 " lead and trail "
    count 2; item 00 "%none"; item ff "$(printf 'tab\there\rcr\x1a')"
    count 1; item 00 "!x"
    printf 'trailing bytes'
} >"$out/awkward_texts.lbd"
