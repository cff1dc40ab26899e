# Sourced by the shell tests, tools/bench.sh and tools/screenshot.sh: a private home whose variables
# come from tools/sandbox.list, which CTest and the start-up benchmark read too, and a private X
# server, so that nothing these scripts start reaches the user's files, fonts or display.
sandbox_list=$(dirname "${BASH_SOURCE[0]}")/sandbox.list

# Fills sandbox_words with NAME=folder for a home at $1 and makes the folders.
sandbox_make() {
    local line name folder
    sandbox_words=()
    [ -r "$sandbox_list" ] || { echo "cannot read $sandbox_list" >&2; return 1; }
    while IFS= read -r line || [ -n "$line" ]; do
        case $line in '' | '#'*) continue ;; esac
        name=${line%%=*} folder=$1
        [[ $line = *=* && $name =~ ^[A-Za-z_][A-Za-z0-9_]*$ ]] || {
            echo "$sandbox_list: not NAME=folder: $line" >&2
            return 1
        }
        case ${line#*=} in '' | .) ;; *) folder+=/${line#*=} ;; esac
        mkdir -p "$folder" || return 1
        # The base directory rules require the runtime folder to be the user's alone.
        [ "$name" != XDG_RUNTIME_DIR ] || chmod 700 "$folder" || return 1
        sandbox_words+=("$name=$folder")
    done <"$sandbox_list"
}

# Exports every variable of the list for a home at $1, making its folders.
sandbox_export() {
    local sandbox_words word
    sandbox_make "$1" || return 1
    for word in "${sandbox_words[@]}"; do export "${word?}"; done
}

# Prints the list's NAME=folder words for a home at $1, one a line, as `env -i` takes them, having
# made the folders.
sandbox_env() {
    local sandbox_words
    sandbox_make "$1" || return 1
    printf '%s\n' "${sandbox_words[@]}"
}

# Starts an X server that never resets between clients on a free display, screen ${2:-1280x1024x24},
# its notes in the folder $1, and exports DISPLAY; private_x_pid is Xvfb's pid, for the caller to
# stop. Returns 1, Xvfb's log on stderr, when no display came within 10 s.
start_private_x() {
    local tries=0
    Xvfb -displayfd 3 -noreset -screen 0 "${2:-1280x1024x24}" -nolisten tcp \
        3>"$1/display" 2>"$1/xvfb.log" &
    private_x_pid=$!
    while [ ! -s "$1/display" ] && ((tries++ < 100)) && kill -0 "$private_x_pid" 2>/dev/null; do
        sleep 0.1
    done
    if [ ! -s "$1/display" ]; then
        kill "$private_x_pid" 2>/dev/null || true
        wait "$private_x_pid" 2>/dev/null || true
        echo "Xvfb did not start:" >&2
        cat "$1/xvfb.log" >&2
        return 1
    fi
    DISPLAY=:$(head -n 1 "$1/display")
    export DISPLAY
}
