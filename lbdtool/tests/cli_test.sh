#!/usr/bin/env bash
# Runs lbdtool as a player would, command by command, checking exit statuses,
# what it says and which files it leaves.
#   cli_test.sh EXAMPLES_DIR WORK_DIR TOOL [RUNNER...]
# RUNNER is what starts TOOL (e.g. "env WINEPREFIX=... wine" for lbdtool.exe).
# Files are named relative to WORK_DIR, so that the same names serve both systems.
set -uo pipefail
examples=$(cd "$1" && pwd)
work=$2
tool=$3
case $tool in /*) ;; *) tool=$PWD/$tool ;; esac
shift 3
runner=("$@")

rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 2
cp "$examples/quests.lbd" "$examples/journal.htm" "$examples/quests.txt" .

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# run STATUS ARGS...: runs the tool, keeps stdout in out.txt and stderr in err.txt
# (line ends as LF, whatever the system writes), and checks the exit status.
run() {
    local expected=$1
    shift
    "${runner[@]}" "$tool" "$@" >out.raw 2>err.raw
    local status=$?
    tr -d '\r' <out.raw >out.txt
    tr -d '\r' <err.raw >err.txt
    if [ "$status" -ne "$expected" ]; then
        fail "lbdtool $* exited $status, not $expected; stderr: $(cat err.txt)"
    fi
}
says() { # FILE TEXT: the file holds the text
    grep -qF -- "$2" "$1" || fail "$1 lacks \"$2\"; it holds: $(cat "$1")"
}
same() { # A B
    cmp -s "$1" "$2" || fail "$1 and $2 differ"
}
no_leftovers() {
    local left
    left=$(ls | grep -F .lbdtool-new)
    [ -z "$left" ] || fail "temporary files left behind: $left"
}

# --- usage
run 0
says out.txt "usage: lbdtool dump DATABASE"
run 0 --help
says out.txt "lbdtool merge MINE THEIRS OUTPUT"
run 2 frobnicate quests.lbd
says err.txt 'unknown command "frobnicate"'
says err.txt "usage:"
for wrong in "dump" "dump a b c" "build a" "check" "check a b c" "merge a b" "merge a b c d"; do
    # shellcheck disable=SC2086
    run 2 $wrong
    says err.txt "wrong number of arguments for ${wrong%% *}"
done

# --- dump and build: the sample goes round unchanged
run 0 dump quests.lbd
cp out.txt sample.txt
says sample.txt "# Quest 8"
run 0 build sample.txt rebuilt.lbd
same rebuilt.lbd quests.lbd
says out.txt "rebuilt.lbd: 8 quests, 22 items"

# Into a file of its own: the same text, with the line ends of the system's editors.
run 0 dump quests.lbd dumped.txt
says out.txt "dumped.txt: 8 quests, 22 items"
tr -d '\r' <dumped.txt >dumped_lf.txt
same dumped_lf.txt sample.txt
if [ ${#runner[@]} -ne 0 ]; then
    [ "$(grep -c $'\r$' dumped.txt)" -eq "$(wc -l <dumped.txt)" ] || fail "dumped.txt lacks CR LF"
else
    grep -q $'\r' dumped.txt && fail "dumped.txt has CR LF natively"
fi
# A text it replaces is kept, as the player may have edited it.
run 0 dump quests.lbd dumped.txt
same dumped.txt.bak dumped.txt
run 2 dump quests.lbd no_such_folder/dumped.txt
says err.txt "no_such_folder/dumped.txt: can't write it"

run 2 dump missing.lbd
says err.txt "lbdtool: missing.lbd: can't read it"
head -c 100 quests.lbd >cut.lbd
run 2 dump cut.lbd
says err.txt "cut.lbd: a damaged database: its records break off at byte 4"
[ -s out.txt ] && fail "dump of a damaged database wrote text"
if [ -w /dev/full ] && [ ${#runner[@]} -eq 0 ]; then
    "$tool" dump quests.lbd >/dev/full 2>err.txt
    [ $? -eq 2 ] || fail "dump into a full disk did not fail"
fi

# A bad line: nothing written, the old output whole.
printf 'A good first item.\n!A bad one\n\nfine\nbad %%zz\n' >bad.txt
cp quests.lbd kept.lbd
run 2 build bad.txt kept.lbd
says err.txt "bad.txt:2: "
says err.txt "bad.txt:5: "
says err.txt "nothing written to kept.lbd"
same kept.lbd quests.lbd
# A database that an output replaces is kept as its .bak, as the program's saves keep
# theirs; a new output has none.
printf 'A single quest.\n' >one.txt
cp quests.lbd replaced.lbd
run 0 build one.txt replaced.lbd
same replaced.lbd.bak quests.lbd
run 0 build sample.txt replaced.lbd
same replaced.lbd quests.lbd
[ "$(wc -c <replaced.lbd.bak)" -lt "$(wc -c <quests.lbd)" ] || fail "the backup isn't what it replaced"
[ -e rebuilt.lbd.bak ] && fail "a new output got a backup"
run 2 build missing.txt new.lbd
says err.txt "missing.txt: can't read it"
[ -e new.lbd ] && fail "build of a missing text wrote new.lbd"
run 2 build sample.txt no_such_folder/new.lbd
says err.txt "no_such_folder/new.lbd: can't write it"
cp quests.lbd readonly.lbd
chmod 444 readonly.lbd
run 2 build sample.txt readonly.lbd
says err.txt "readonly.lbd: can't write it: it is read-only"
same readonly.lbd quests.lbd
no_leftovers

# --- build of a text saved in Unicode, as Notepad and PowerShell save it: the same
# database as the text in the system code page (on Windows here 1252; elsewhere UTF-8)
printf '%s\n' "# accents" $'Caf\xC3\xA9 at the \xC3\x86r\xC3\xB8 inn' $'! Paid 5 \xE2\x82\xAC' \
    "" "A second quest" | sed 's/$/\r/' >accents_utf8.txt
if [ ${#runner[@]} -ne 0 ]; then
    iconv -f UTF-8 -t CP1252 accents_utf8.txt >accents.txt
else
    cp accents_utf8.txt accents.txt
fi
{ printf '\xEF\xBB\xBF'; cat accents_utf8.txt; } >accents_bom8.txt
{ printf '\xFF\xFE'; iconv -f UTF-8 -t UTF-16LE accents_utf8.txt; } >accents_bom16.txt
{ printf '\xFE\xFF'; iconv -f UTF-8 -t UTF-16BE accents_utf8.txt; } >accents_bom16be.txt
run 0 build accents.txt accents.lbd
says out.txt "accents.lbd: 2 quests, 3 items"
for marked in bom8 bom16 bom16be; do
    run 0 build accents_$marked.txt accents_$marked.lbd
    same accents_$marked.lbd accents.lbd
done
# What the encoding can't say is refused with its line, nothing written.
printf '\xEF\xBB\xBFA fine line\nbad \xC3 byte\n' >broken.txt
run 2 build broken.txt broken.lbd
says err.txt "broken.txt:2: the line isn't valid UTF-8"
[ -e broken.lbd ] && fail "build of a broken text wrote broken.lbd"
if [ ${#runner[@]} -ne 0 ]; then
    { printf '\xFF\xFE'; printf 'Fine\r\nIn \xC5\x81\xC3\xB3d\xC5\xBA\r\n' | iconv -f UTF-8 -t UTF-16LE; } >lacking.txt
    run 2 build lacking.txt lacking.lbd
    says err.txt "lacking.txt:2: the system code page"
    says err.txt "(U+0141)"
    [ -e lacking.lbd ] && fail "build of a text the code page can't hold wrote lacking.lbd"
fi
no_leftovers

# --- a folder named outside the system code page: taken (Wine reads the names
# through the locale, so only a UTF-8 one passes them whole); a message into a pipe
# is in the system code page, "?" for what it lacks.
folder=$'\xC5\x81\xC3\xB3d\xC5\xBA \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E'  # Łódź 日本語
if [ "$(locale charmap 2>/dev/null)" = UTF-8 ]; then
    mkdir -p "$folder"
    cp quests.lbd "$folder/"
    run 0 dump "$folder/quests.lbd" "$folder/quests.txt"
    run 0 build "$folder/quests.txt" "$folder/rebuilt.lbd"
    same "$folder/rebuilt.lbd" quests.lbd
    run 2 check "$folder/missing.lbd"
    if [ ${#runner[@]} -ne 0 ]; then
        says err.txt $'lbdtool: ?\xF3d? ???/missing.lbd: can\'t read it'
    else
        says err.txt "lbdtool: $folder/missing.lbd: can't read it"
    fi
    rm -r "$folder"
fi

# --- check
run 0 check quests.lbd
says out.txt "quests.lbd: 8 quests, 22 items; nothing found"
run 0 check quests.lbd journal.htm
says out.txt "journal.htm: 27 entries; they reach 8 quests (4 finished) and 21 items; 6 entries no quest holds"
printf '%s\n' "Twice" "" "%none" "" "Twice" >findings.txt
run 0 build findings.txt findings.lbd
run 1 check findings.lbd
says out.txt "findings.lbd: 3 quests, 2 items; 2 findings"
run 2 check quests.lbd missing.htm
says err.txt "missing.htm: can't read it"
run 2 check cut.lbd
says err.txt "cut.lbd: a damaged database"

# --- merge: their quests by where their texts belong; the inputs stay as they were
sed -n '/^# Quest 1$/,/^$/p' sample.txt >theirs.txt
printf '%s\n' "" "A new quest of theirs." "! Its end." "" \
    "I arrived at Saltgate on the evening tide. The harbourmistress, Maren Voss, says the port ledger for the autumn fleet has gone missing, and no ship may leave until it is found." \
    "Old Garrick the smith has lost his father's hammer. He thinks a magpie took it, and he will forge me a blade if I bring it back." >>theirs.txt
run 0 build theirs.txt theirs.lbd
cp theirs.lbd theirs_before.lbd
run 1 merge quests.lbd theirs.lbd merged.lbd
says out.txt "1 quest added, 0 items added to existing quests, 1 quest left out, 0 finisher flags disagreed"
same quests.lbd kept.lbd
same theirs.lbd theirs_before.lbd
run 0 check merged.lbd journal.htm
says out.txt "merged.lbd: 9 quests, 24 items; nothing found"

printf '%s\n' "Old Garrick the smith has lost his father's hammer. He thinks a magpie took it, and he will forge me a blade if I bring it back." \
    "The smith's wife says he drinks at the Tarred Rope." >more.txt
run 0 build more.txt more.lbd
cp quests.lbd mine.lbd
run 0 merge mine.lbd more.lbd mine.lbd
run 0 dump mine.lbd
says out.txt "The smith's wife says he drinks at the Tarred Rope."
run 2 merge mine.lbd missing.lbd out.lbd
says err.txt "missing.lbd: can't read it"
[ -e out.lbd ] && fail "a failed merge wrote out.lbd"
no_leftovers

chmod 644 readonly.lbd
if [ "$failures" -ne 0 ]; then
    echo "$failures checks failed" >&2
    exit 1
fi
echo "every check passed"
