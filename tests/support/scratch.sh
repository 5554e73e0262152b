# shellcheck shell=bash
# Sourced by the shell checks that start programs in the background: a work folder, and on exit
# every program in `pids` stopped, every path in `scratch_paths` and the work folder removed.
work=$(mktemp -d)
pids=()
scratch_paths=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    for path in "${scratch_paths[@]}"; do
        rm -f "$path"
    done
    rm -rf "$work"
}
trap cleanup EXIT
