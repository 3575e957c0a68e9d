# bash completion for tkm9214                                          -*- shell-script -*-
# Commands, their words and options, baud rates, code pages and the serial ports present. zsh users
# load it with: autoload -U +X bashcompinit && bashcompinit && source <this file>
# Word lists split on blanks by design, as bash-completion's own scripts do:
# shellcheck disable=SC2207

_tkm9214_ports() {
    local p
    for p in /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* /dev/ttyAMA* /dev/ttyS*; do
        # Built-in serial ports the machine does not have are listed by the kernel but cannot open.
        [[ -e $p ]] || continue
        if [[ $p == /dev/ttyS* ]]; then
            local type
            type=$(cat "/sys/class/tty/${p#/dev/}/type" 2>/dev/null)
            [[ -n $type && $type != 0 ]] || continue
        fi
        printf '%s\n' "$p"
    done
}

_tkm9214() {
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion -n = || return
    else
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    fi

    local commands="ports identify find configure display keys dio symbols watchdog save apply send help"
    local rates="300 600 1200 2400 4800 9600 19200 38400 57600 115200"
    local connection="--port --simulator --baud --address --checksum --rs485 --json --trace --quiet
        --timeout --retries --simulator-echo --simulator-turnaround --help --version"

    case $prev in
    --port | -p)
        local IFS=$'\n'
        COMPREPLY=($(compgen -W "$(_tkm9214_ports)" -- "$cur"))
        [[ ${#COMPREPLY[@]} -eq 0 ]] && COMPREPLY=($(compgen -f -- "$cur"))
        return
        ;;
    --baud | -b | --new-baud | --bauds)
        COMPREPLY=($(compgen -W "$rates" -- "$cur"))
        return
        ;;
    --code-page)
        COMPREPLY=($(compgen -W "cp866 win1251 koi8r" -- "$cur"))
        return
        ;;
    --new-checksum)
        COMPREPLY=($(compgen -W "on off" -- "$cur"))
        return
        ;;
    --address | -a | --new-address | --addresses | --timeout | --retries | --simulator-turnaround | \
        --row | --column | --index | --period | --count | --duration)
        return
        ;;
    esac

    # The command and the words after it; connection options may stand anywhere.
    local command="" i
    local -a after=()
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
        --port | -p | --baud | -b | --address | -a | --timeout | --retries | --simulator-turnaround | \
            --new-address | --new-baud | --code-page | --new-checksum | --row | --column | --index | \
            --period | --count | --duration | --addresses | --bauds)
            ((i++))
            ;;
        -*) ;;
        *)
            if [[ -z $command ]]; then
                command=${words[i]}
            else
                after+=("${words[i]}")
            fi
            ;;
        esac
    done

    local options=""
    case $command in
    find) options="--all --addresses --bauds" ;;
    configure) options="--new-address --new-baud --code-page --new-checksum --yes --verify" ;;
    display) options="--row --column --blink --static --enabled --eeprom" ;;
    keys) options="--watch --count --duration" ;;
    symbols) options="--index" ;;
    watchdog) options="--period --count --duration" ;;
    apply) options="--yes --verify" ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$connection $options" -- "$cur"))
        return
    fi
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi

    local n=${#after[@]}
    case $command in
    help) [[ $n -eq 0 ]] && COMPREPLY=($(compgen -W "$commands" -- "$cur")) ;;
    display) [[ $n -eq 0 ]] && COMPREPLY=($(compgen -W "text clear cursor lamp settings" -- "$cur")) ;;
    dio) [[ $n -eq 0 ]] && COMPREPLY=($(compgen -W "read write directions save-power-on save-safe" -- "$cur")) ;;
    watchdog)
        if [[ $n -eq 0 ]]; then
            COMPREPLY=($(compgen -W "read set status reset keepalive" -- "$cur"))
        elif [[ ${after[0]} == set && $n -eq 1 ]]; then
            COMPREPLY=($(compgen -W "on off" -- "$cur"))
        fi
        ;;
    symbols)
        if [[ $n -eq 0 ]]; then
            COMPREPLY=($(compgen -W "write" -- "$cur"))
        elif [[ $n -eq 1 ]]; then
            COMPREPLY=($(compgen -f -X '!*.tkm' -- "$cur") $(compgen -d -- "$cur"))
        fi
        ;;
    save | apply)
        [[ $n -eq 0 ]] && COMPREPLY=($(compgen -f -X '!*.tkm' -- "$cur") $(compgen -d -- "$cur"))
        ;;
    esac
}
complete -F _tkm9214 tkm9214
