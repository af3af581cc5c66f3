#!/bin/sh
# check_includes.sh must catch a system header in cli/, however it is written: each planted
# include, in a copy of the sources, must fail the check with the rule named; the copy
# without it must pass.
# Usage: check_includes_planted.sh SOURCE_DIR
set -u
root=${1:?usage: check_includes_planted.sh SOURCE_DIR}
check=$(dirname "$0")/check_includes.sh
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
for folder in link update platform ui app cli devsim; do
    cp -r "$root/$folder" "$copy/"
done
status=0
if ! sh "$check" "$copy" >/dev/null; then
    echo "the unchanged copy fails the check"
    status=1
fi
planted=$copy/cli/Planted.cpp
for include in '<unistd.h>' '<sys/socket.h>' '<arpa/inet.h>' '<poll.h>' '<linux/sockios.h>' \
               '<windows.h>' '<winsock2.h>' '"ifaddrs.h"' '  <net/if.h>'; do
    printf '#include %s\n' "$include" >"$planted"
    if sh "$check" "$copy" | grep -q "cli must not include a"; then
        :
    else
        echo "not caught: #include $include"
        status=1
    fi
done
# What cli/ may include stays allowed.
printf '#include <getopt.h>\n#include <cstring>\n#include <nlohmann/json.hpp>\n#include "platform/sockets/WinSock.h"\n' >"$planted"
sh "$check" "$copy" >/dev/null || { echo "a standard or project header was refused"; status=1; }
[ "$status" -eq 0 ] && echo "every planted system header was caught"
exit "$status"
