#!/usr/bin/env bash
# Completes command lines as bash does on TAB, with bash-completion and
# tonalith's completion loaded, and compares what is offered. Also checks that
# the options offered are exactly those that `tonalith -h` lists.
#
#   completion_test.sh PROGRAM COMPLETION_FILE
#
# Exits 77 (skipped) where bash-completion is not installed.
program=$(realpath "$1")
completion_file=$(realpath "$2")
bash_completion=/usr/share/bash-completion/bash_completion
if [ ! -r "$bash_completion" ]; then
    echo "SKIPPED: bash-completion is not installed ($bash_completion missing)"
    exit 77
fi
source "$bash_completion"
source "$completion_file"
if ! complete -p tonalith > /dev/null; then
    echo "FAILED: $completion_file registers no completion for tonalith"
    exit 1
fi

# A folder with files of every kind the program reads, and others.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
touch bank.syx notes.txt saw.wav table.ftable take.aiff picture.svg song.flac README \
    SAW.WAV Bank.Syx loop.aif Loop.Aiff table.wt Pad.WT table.wtx
mkdir sub

# What completing the last word of LINE offers, sorted, on one line. The words
# are split at spaces; a LINE that ends in a space completes an empty word.
offered()
{
    local line=$1
    local COMP_WORDS COMP_CWORD COMP_LINE=$line COMP_POINT=${#line}
    read -ra COMP_WORDS <<< "$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tonalith tonalith "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort -u | xargs
}

passed=0
failed=0
check()
{
    local line=$1 expected=$2
    local got
    got=$(offered "$line")
    if [ "$got" = "$expected" ]; then
        echo "ok      '$line<TAB>' offers: $got"
        passed=$((passed + 1))
    else
        echo "FAILED  '$line<TAB>' offers: $got"
        echo "        expected: $expected"
        failed=$((failed + 1))
    fi
}

all_files="Bank.Syx Loop.Aiff Pad.WT README SAW.WAV bank.syx loop.aif notes.txt picture.svg
    saw.wav song.flac sub table.ftable table.wt table.wtx take.aiff"
all_files=$(xargs <<< "$all_files")
# Extensions count in any letter case, as the program takes them.
readable_files="Bank.Syx Loop.Aiff Pad.WT SAW.WAV bank.syx loop.aif notes.txt saw.wav song.flac
    sub table.ftable table.wt take.aiff"
readable_files=$(xargs <<< "$readable_files")

check "tonalith --out" "--output --output_format --output_size --output_table --output_type --output_wave"
check "tonalith -F " "audio mw2 svg text wt ysc"
check "tonalith --output_format s" "svg"
check "tonalith -f " "audio ftable mw2 text wt"
check "tonalith -i saw.wav --input_format " "audio ftable mw2 text wt"
check "tonalith -T " "harm wave"
check "tonalith -i notes.txt -t " "harm wave"
check "tonalith --output_type w" "wave"
check "tonalith -i " "$readable_files"
check "tonalith -o x.syx --input " "$readable_files"
check "tonalith -l " "$readable_files"
check "tonalith -l b" "bank.syx"
check "tonalith -i S" "SAW.WAV"
check "tonalith -l P" "Pad.WT"
check "tonalith -i t" "table.ftable table.wt take.aiff"
check "tonalith -F w" "wt"
check "tonalith -f audio -i " "$all_files"
check "tonalith -o " "$all_files"
check "tonalith -i saw.wav --output p" "picture.svg"
check "tonalith -i saw.wav -o x.wav -s " ""
check "tonalith -i saw.wav -o x.wav -z " ""
check "tonalith -S 256 -l " "$readable_files"
check "tonalith -i table.wav -o x.txt --input_size " ""
check "tonalith -i table.wav -o x.txt -a -n " ""
check "tonalith --input_s" "--input_size"

# Every option the program lists in its help, short and long, and no other.
help_options=$("$program" -h | grep -oE '^  (-[[:alnum:]] \[ )?--[[:alnum:]_]+' |
    grep -oE -- '-{1,2}[[:alnum:]_]+' | sort -u | xargs)
if [ -z "$help_options" ]; then
    echo "FAILED  '$program -h' lists no options"
    failed=$((failed + 1))
else
    check "tonalith -" "$help_options"
    check "tonalith -i saw.wav -o x.syx -" "$help_options"
    check "tonalith --" "$(tr ' ' '\n' <<< "$help_options" | grep -e '^--' | xargs)"
fi

echo "completion: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
