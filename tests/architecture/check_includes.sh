#!/bin/sh
# Fails when a source file includes across the layering: the device core (link/, update/)
# includes no Qt and nothing of its users or of the layer; the layer (platform/) includes
# none of its users, and its two rooms, toolkit and sockets, not each other; the dialog and
# the application (ui/, app/) reach Qt only through the layer; the command line tool and
# the simulator (cli/, devsim/) include neither the dialog nor the toolkit nor each other,
# and the command line tool includes no header of a system, so that it builds unchanged on
# Linux and Windows.
# Usage: check_includes.sh SOURCE_DIR
set -u
root=${1:?usage: check_includes.sh SOURCE_DIR}
status=0

# include_lines FOLDER: every #include line of the folder's sources, as path:line:text.
include_lines() {
    grep -rnE '^[[:space:]]*#[[:space:]]*include' "$root/$1" \
        --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.in' 2>/dev/null
}

# forbid FOLDER WHAT PATTERN [ALLOWED]: no include line of FOLDER may match PATTERN (extended
# regex over the included name with its opening quote or bracket), unless it matches ALLOWED.
forbid() {
    if [ ! -d "$root/$1" ]; then
        echo "no folder $1 under $root"
        status=1
        return
    fi
    hits=$(include_lines "$1" | grep -E "include[[:space:]]*$3" | grep -vE "include[[:space:]]*${4:-^$}")
    if [ -n "$hits" ]; then
        echo "$1 must not include $2:"
        printf '%s\n' "$hits" | sed "s|^$root/|  |"
        status=1
    fi
}

qt='(<Q[A-Za-z]|<qt|"Q[A-Z][A-Za-z]*(\.h)?"|<q[a-z_]*\.h>)'
ours() { printf '["<](\\./|\\.\\./)*(%s)/' "$1"; }

forbid link "Qt" "$qt"
forbid update "Qt" "$qt"
forbid link "update/ (the core's arrow runs from update/ to link/)" "$(ours update)"
forbid link "the dialog, the application or the layer" "$(ours 'ui|app|platform|cli|devsim')"
forbid update "the dialog, the application or the layer" "$(ours 'ui|app|platform|cli|devsim')"

forbid platform "the core or its users" "$(ours 'ui|app|link|update|cli|devsim')"
forbid platform/sockets "the toolkit" "$(ours 'platform/toolkit')"
forbid platform/toolkit "the sockets" "$(ours 'platform/sockets')"

forbid ui "Qt (the layer speaks Qt for it)" "$qt"
forbid app "Qt (the layer speaks Qt for it)" "$qt"
forbid ui "the command line tool or the simulator" "$(ours 'cli|devsim')"
forbid app "the command line tool or the simulator" "$(ours 'cli|devsim')"

# The command line tool and the simulator stand on the core (and the sockets), beside the dialog.
forbid cli "the dialog, the application, the toolkit or the simulator" "$(ours 'ui|app|platform/toolkit|devsim')"
forbid devsim "the dialog, the application, the toolkit or the command line tool" "$(ours 'ui|app|platform/toolkit|cli')"

# Of what comes in angle brackets, cli/ takes the C++ standard library's headers (no folder,
# no .h), getopt.h, which both systems' C libraries bring, and the header-only JSON library
# both builds carry; the system calls are the layer's.
forbid cli "a system header (the socket layer makes the system calls)" '<([^>]*/[^>]*|[^>]*\.h)>' \
    '<(getopt\.h|nlohmann/json\.hpp)>'
forbid cli "a header in quotes that is not the project's" '"[^"]*"' '"(cli|link|update|platform|lanvista)/'

[ "$status" -eq 0 ] && echo "include directions hold"
exit "$status"
