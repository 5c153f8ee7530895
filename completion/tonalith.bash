# Bash completion for tonalith: its options, the format and type words, and
# the files that -i, -l and -o expect. bash-completion loads it on first use.
# tests/completion checks that every option of `tonalith -h` is here.

# An extended pattern that matches each of the given words in any letter
# case, as the program takes extensions: SAW.WAV and Bank.Syx too.
_tonalith_any_case()
{
    local word letter pattern= i
    for word; do
        pattern+=${pattern:+|}
        for ((i = 0; i < ${#word}; i++)); do
            letter=${word:i:1}
            pattern+="[${letter,}${letter^}]"
        done
    done
    printf '@(%s)' "$pattern"
}

_tonalith()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        -f | --input_format)
            COMPREPLY=($(compgen -W 'audio text ftable mw2 wt' -- "$cur"))
            return
            ;;
        -F | --output_format)
            COMPREPLY=($(compgen -W 'audio text ysc mw2 svg wt' -- "$cur"))
            return
            ;;
        -t | --input_type | -T | --output_type)
            COMPREPLY=($(compgen -W 'wave harm' -- "$cur"))
            return
            ;;
        -i | --input | -l | --list)
            # With an input format named on the line, any file may be meant
            # (a FLAC file read as audio, say); otherwise the readable kinds.
            if [[ " ${words[*]}" == *" -f"* || " ${words[*]}" == *" --input_format"* ]]; then
                _filedir
            else
                _filedir "$(_tonalith_any_case wav aif aiff txt ftable syx wt flac ogg oga opus mp3 au snd caf w64 rf64)"
            fi
            return
            ;;
        -o | --output)
            _filedir
            return
            ;;
        -r | --samplerate | -s | --output_size | -S | --input_size | -w | --input_wave | \
            -W | --output_wave | -z | --threshold | -n | --wave_count | -X | --output_table)
            # A number: nothing to offer.
            return
            ;;
    esac
    $split && return

    # The program takes no other words: anything else is an option.
    COMPREPLY=($(compgen -W '-h --help -v --version -l --list
        -i --input -o --output -f --input_format -F --output_format
        -t --input_type -T --output_type -r --samplerate -s --output_size
        -S --input_size -w --input_wave -a --all_waves -n --wave_count
        -W --output_wave -X --output_table -z --threshold' -- "$cur"))
} &&
    complete -F _tonalith tonalith
