#!/usr/bin/env bash
# pavok-cli's bash completion as bash runs it on a Tab: bash-completion's
# default loader finds the file by the program's name, then the function that
# `complete` registered for pavok-cli gets the partial command line in
# COMP_WORDS, COMP_CWORD, COMP_LINE and COMP_POINT and answers in COMPREPLY.
# Also checks that every command and option the program's help lists is
# completed.
# Usage: pavok-cli-completion-test.sh COMPLETION-FILE PAVOK-CLI [BASH_COMPLETION]
set -uo pipefail

completion="$(realpath "$1")"
program="$(realpath "$2")"
framework="${3:-/usr/share/bash-completion/bash_completion}"
if [ ! -f "$framework" ]; then
  echo "bash-completion is missing ($framework): scripts/install-deps.sh installs it" >&2
  exit 1
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bash-completion/completions" "$scratch/files/images"
ln -s "$completion" "$scratch/bash-completion/completions/pavok-cli"
touch "$scratch/files/backup.bin" "$scratch/files/chip.bin" "$scratch/files/notes.txt"
cd "$scratch/files" || exit 1

export BASH_COMPLETION_USER_DIR="$scratch/bash-completion"
# shellcheck source=/dev/null
source "$framework"
loader="$(complete -p -D | sed -n 's/.* -F \([^ ]*\).*/\1/p')"
"$loader" pavok-cli
function="$(complete -p pavok-cli 2>/dev/null | sed -n 's/.* -F \([^ ]*\) .*/\1/p')"
if [ -z "$function" ] || [ "$function" = _minimal ]; then
  echo "bash-completion's loader did not load $completion for pavok-cli" >&2
  exit 1
fi

# The candidates a Tab at the end of LINE offers, sorted, on one line. Words
# are split as readline splits them: at blanks, and "=" and ":" are words of
# their own.
candidates() {
  local line="$1" spaced
  spaced="${line//=/ = }"
  spaced="${spaced//:/ : }"
  read -ra COMP_WORDS <<<"$spaced"
  if [[ $line == *' ' ]]; then COMP_WORDS+=(''); fi
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="$line"
  COMP_POINT=${#line}
  COMP_TYPE=9
  COMP_KEY=9
  COMPREPLY=()
  "$function" pavok-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  if [ "${#COMPREPLY[@]}" -gt 0 ]; then printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' '; else echo; fi
}

failures=0
expect() {
  local line="$1" wanted="$2" got
  got="$(candidates "$line")"
  if [ "$got" != "$wanted" ]; then
    echo "FAIL: '$line<Tab>' offers '$got', expected '$wanted'" >&2
    failures=$((failures + 1))
  fi
}

# Partial command line | what a Tab offers (the scratch directory holds
# backup.bin, chip.bin, notes.txt and images/).
cases=(
  "pavok-cli |compare erase probe read verify write"
  "pavok-cli --chip C02 w|write"
  "pavok-cli --emulate --yes e|erase"
  "pavok-cli --chip |C02 C04 C08 C16 auto"
  "pavok-cli --chip=C0|C02 C04 C08"
  "pavok-cli read --emulate --emulated-chip C1|C16"
  "pavok-cli read |backup.bin chip.bin images notes.txt"
  "pavok-cli --chip C08 verify --yes c|chip.bin"
  "pavok-cli --emulate --chip-image b|backup.bin"
  "pavok-cli --emulate --chip-image=c|chip.bin"
  "pavok-cli read out.bin |"
  "pavok-cli erase |"
  "pavok-cli --emulated-delay-us |"
  "pavok-cli --format |ihex raw srec"
  "pavok-cli --adapter |auto avr309 ch341a"
  "pavok-cli probe --adapter c|ch341a"
  "pavok-cli --adapter ch341a --i2c-speed |100 20 400"
  "pavok-cli write --fa|--fast"
  "pavok-cli write --m|--merge"
  "pavok-cli read --fa|"
  "pavok-cli read --fo|--format"
  "pavok-cli --emulate --ver|--verbose --version"
)
for entry in "${cases[@]}"; do
  expect "${entry%%|*}" "${entry#*|}"
done

# What the program's help lists, the completion offers.
help_options() { "$program" "$@" --help | grep -oE '^  (-[a-z],)?--[a-z0-9-]+' | tr ',' '\n' | tr -d ' '; }
covers() {
  local line="$1" name offered
  offered=" $(candidates "$line") "
  shift
  for name in "$@"; do
    if [[ $offered != *" $name "* ]]; then
      echo "FAIL: '$line<Tab>' does not offer $name, which the help lists" >&2
      failures=$((failures + 1))
    fi
  done
}
mapfile -t commands < <("$program" --help | sed -n '/^Subcommands:/,/^$/{/^  /s/^  \([a-z]*\).*/\1/p}')
[ "${#commands[@]}" -gt 0 ] || { echo "FAIL: no commands in pavok-cli --help" >&2; failures=$((failures + 1)); }
covers "pavok-cli " "${commands[@]}"
mapfile -t options < <(help_options)
covers "pavok-cli -" "${options[@]}"
for command in "${commands[@]}"; do
  mapfile -t options < <(help_options "$command")
  covers "pavok-cli $command -" "${options[@]}"
done

[ "$failures" -eq 0 ] || exit 1
echo "pavok-cli completion: ${#cases[@]} command lines and the help's commands and options complete as expected"
