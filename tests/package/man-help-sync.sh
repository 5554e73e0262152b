#!/usr/bin/env bash
# The manual pages and the programs' own --help name the same options and subcommands, both ways:
# an option added to a program without its manual, or left in a manual after it went, fails.
# Usage: man-help-sync.sh BIN_DIR MAN_SOURCE_DIR
set -euo pipefail
bin=$1
man=$2
failed=0

# The options and subcommands a help text lists: its first column, up to two spaces.
names_in_help() {
    sed -nE 's/^  +(-[^ ].*|[a-z][a-z-]*)$/\1/p' | sed -E 's/  .*//' |
        grep -oE -- '--[a-z][a-z-]*|^[a-z][a-z-]*$' || true
}

check() {
    local program=$1 help=$2 page=$man/$1.1.scd
    local listed entries documented
    listed=$(names_in_help <<<"$help" | sort -u)
    # The manual's lists, past the synopsis, start each entry with its names in bold.
    entries=$(sed -n '/^# DESCRIPTION/,$p' "$page" | grep -E '^\*')
    documented=$(grep -E '^\*-' <<<"$entries" | grep -oE -- '\*--[a-z][a-z-]*\*' | tr -d '*' |
        sort -u)
    for name in $listed; do
        if ! grep -qE -- "\\*${name}[* ]" <<<"$entries"; then
            echo "$page: $name is in $program's help but not in its manual"
            failed=1
        fi
    done
    for name in $documented; do
        if ! grep -qxF -- "$name" <<<"$listed"; then
            echo "$page: $name is in the manual but in no help of $program"
            failed=1
        fi
    done
}

cli_help=$("$bin/tervan-cli" --help)
for command in apply ports list "logo download" "logo print" "logo convert" "profile save" \
    "profile show"; do
    # shellcheck disable=SC2086 # the two-word subcommands are meant to split
    cli_help+=$'\n'$("$bin/tervan-cli" $command --help)
done
cli_help+=$'\n'$("$bin/tervan-cli" logo --help)$'\n'$("$bin/tervan-cli" profile --help)
check tervan-cli "$cli_help"
check tervan-printer-sim "$("$bin/tervan-printer-sim" --help)"
if [ -x "$bin/tervan" ]; then
    check tervan "$(QT_QPA_PLATFORM=offscreen "$bin/tervan" --help 2>/dev/null)"
fi
exit $failed
