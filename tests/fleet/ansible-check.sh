#!/usr/bin/env bash
# The Ansible playbook of contrib/ansible against virtual printers on this machine: two shop PCs
# (both this machine, reached with the local connection), three printers, one of them silent. The
# first PC's two printers are set (one on a pseudo-terminal, one on the network), the second PC
# fails and names its silent printer. Needs ansible-playbook and the build's tervan-cli and
# tervan-printer-sim.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bin=${1:-$root/build/bin}
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=../support/checks.sh
source "$root/tests/support/checks.sh"

# start NAME [OPTIONS]: a virtual printer logging to $work/NAME.bin; its port in $work/NAME.txt
# and in the variable NAME.
start() {
    local name=$1
    shift
    : >"$work/$name.bin"
    "$bin/tervan-printer-sim" --log "$work/$name.bin" "$@" >"$work/$name.txt" </dev/null \
        2>/dev/null &
    pids+=($!)
    printf -v "$name" '%s' "$(first_line "$work/$name.txt")"
}

start counter
start network --tcp 0
start silent --reply silent

cat >"$work/shop.toml" <<'TOML'
# What every shop's printers get.
density = 3
TOML
cat >"$work/inventory.yml" <<YAML
all:
  vars:
    ansible_python_interpreter: $(command -v python3)
    tervan_cli: $bin/tervan-cli
    tervan_profile: $work/shop.toml
  hosts:
    shop-north:
      tervan_printers: ["$counter", "$network"]
    shop-south:
      tervan_printers: ["$silent"]
YAML

: >"$work/ansible.cfg" # nothing from this machine's own configuration
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_HOST_KEY_CHECKING=0 \
    ANSIBLE_LOCAL_TEMP=$work/tmp ANSIBLE_REMOTE_TEMP=$work/tmp ANSIBLE_CONFIG=$work/ansible.cfg \
    ANSIBLE_STDOUT_CALLBACK=default LANG=C.UTF-8 LC_ALL=C.UTF-8
status=0
ansible-playbook -i "$work/inventory.yml" -c local "$root/contrib/ansible/apply-profile.yml" \
    >"$work/play.txt" 2>&1 || status=$?
cat "$work/play.txt"

check "the playbook fails (a PC failed)" 2 "$status"
verdict() {
    grep -o "\"msg\": \"$1: [a-z-]*" "$work/play.txt" | sed 's/.*: //' || true
}
check "verdict of $counter" ok "$(verdict "$counter")"
check "verdict of $network" ok "$(verdict "$network")"
check "verdict of $silent" failed "$(verdict "$silent")"
check "shop-north succeeded" 1 "$(grep -cE '^shop-north +: .*failed=0' "$work/play.txt" || true)"
check "shop-south failed, naming its printer" 1 \
    "$(grep -c "Printers that failed: $silent" "$work/play.txt" || true)"
check "bytes to $counter" "1B 06 1B FD 03 1B 16" "$(logged "$work/counter.bin")"
check "bytes to $network" "1B 06 1B FD 03 1B 16" "$(logged "$work/network.bin")"
check "bytes to $silent" "1B 06 1B 16" "$(logged "$work/silent.bin")"

finish
