#!/usr/bin/env bash
# The shipped completions of lanvista-cli, driven as a user's Tab would drive them: commands,
# each command's options, --dhcp's values, the system's adapters (and an address label, in a
# network namespace of the test's own when run as root) for --interface, files for update.
#   completion_test.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
bash_file=$source_dir/packaging/completion/lanvista-cli.bash
zsh_folder=$source_dir/packaging/completion
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# bash: the words typed (the last one being completed) -> words that must be offered, and
# words that must not ('-' for none).
bash_cases=(
  "lanvista-cli |list set update apply|--json"
  "lanvista-cli apply --|--dry-run --json --force --interface|--ip --count"
  "lanvista-cli s|set|list"
  "lanvista-cli list --|--json --jsonl --csv --count --mac --interface --verbose|--ip --force"
  "lanvista-cli set 00A0B1C20010 --|--ip --mask --gateway --port --dhcp --force|--json --count"
  "lanvista-cli set 00A0B1C20010 --dhcp |on off|-"
  "lanvista-cli update --|--all --mac --parallel --force --allow-downgrade --dry-run --json --interface --timeout|--ip --csv"
  "lanvista-cli update --all --parallel |-|lo list"
  "lanvista-cli list --interface |lo|-"
  "lanvista-cli list --timeout |-|list lo"
  "lanvista-cli update 10.0.0.5 $source_dir/packaging/completion/lanvista-cli.b|$source_dir/packaging/completion/lanvista-cli.bash|-"
)

bash_offers() {
  local line=$1
  bash -c '
    source "$1"
    read -r -a COMP_WORDS <<<"$2"
    [[ $2 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _lanvista_cli
    printf "%s\n" "${COMPREPLY[@]}"' _ "$bash_file" "$line"
}

for case in "${bash_cases[@]}"; do
  IFS='|' read -r line wanted unwanted <<<"$case"
  offered=$(bash_offers "$line")
  for word in $wanted; do
    [[ $word == - ]] && continue
    grep -qx -- "$word" <<<"$offered" || fail "bash: '$line' does not offer $word (offers: $(echo $offered))"
  done
  for word in $unwanted; do
    [[ $word == - ]] && continue
    grep -qx -- "$word" <<<"$offered" && fail "bash: '$line' offers $word"
  done
done

if [[ $(id -u) -eq 0 ]] && unshare -n true 2>/dev/null; then
  labelled=$(unshare -n bash -c '
    ip link set lo up && ip addr add 127.0.0.2/8 dev lo label lo:lab || exit 1
    source "$1"
    COMP_WORDS=(lanvista-cli set 00A0B1C20010 --interface lo:)
    COMP_CWORD=4
    _lanvista_cli
    printf "%s\n" "${COMPREPLY[@]}"' _ "$bash_file")
  grep -qx "lo:lab" <<<"$labelled" || fail "bash: the label lo:lab is not offered (offers: $labelled)"
else
  echo "lo:lab label case skipped: it needs root to make a network namespace"
fi

# zsh: the line typed before Tab -> text, not in the line, that the screen must show after.
zsh_cases=(
  "lanvista-cli se|lanvista-cli set"
  "lanvista-cli set 00A0B1C20010 --dh|--dhcp"
  "lanvista-cli set 00A0B1C20010 --dhcp o|off"
  "lanvista-cli list --interface |lo"
  "lanvista-cli list --cs|--csv"
  "lanvista-cli apply plan.csv --dr|--dry-run"
  "lanvista-cli update 10.0.0.5 packaging/completion/_lanvista-c|_lanvista-cli"
  "lanvista-cli update --all --allow|--allow-downgrade"
)
if ! command -v zsh >/dev/null; then
  fail "zsh is not installed (scripts/install-deps.sh installs it)"
else
  for case in "${zsh_cases[@]}"; do
    IFS='|' read -r line wanted <<<"$case"
    screen=$(cd "$source_dir" && timeout 20 zsh tests/cli/zsh_complete.zsh "$zsh_folder" "$line")
    grep -qF -- "$wanted" <<<"$screen" || fail "zsh: '$line' then Tab shows: $screen"
  done
fi

[[ $failures -eq 0 ]] || exit 1
echo "completions: ${#bash_cases[@]} bash and ${#zsh_cases[@]} zsh lines complete as a user expects"
