#!/usr/bin/env bash
# The serial link of the Windows build end to end: tervan-cli.exe under Wine writes to COM5,
# which the Wine prefix links to the project's virtual printer on a pseudo-terminal, so
# CreateFileW, the DCB, the time-outs, the purge, writes and reads all run through the Win32
# binding. Needs WINEPREFIX (made by `make test-windows`) and the Linux build's tervan-printer-sim.
cli=$1
# shellcheck source=com-printer.sh
source "$(dirname "$0")/com-printer.sh"
# shellcheck source=../support/checks.sh
source "$here/../support/checks.sh"

# The bytes appended to a log since `offset`, as upper-case hex pairs, once `count` have come
# (or after 3 s).
bytes_since() {
    local log=$1 offset=$2 count=$3
    # Nothing expected: give stray bytes the time to arrive.
    [ "$count" == 0 ] && sleep 0.5
    for _ in $(seq 60); do
        [ $(($(stat -c %s "$log") - offset)) -ge "$count" ] && break
        sleep 0.05
    done
    tail -c +$((offset + 1)) "$log" | od -An -tx1 -v | tr -s ' \n' ' ' | sed 's/^ //; s/ $//' |
        tr a-f A-F
}

# Runs tervan-cli.exe, expects exit status $status (0 unless set), and checks what the printer
# logged.
expect_wire() {
    local name=$1 log=$2 expected=$3 want=${status:-0}
    shift 3
    local before count status=0
    before=$(stat -c %s "$log")
    count=$(($(wc -w <<<"$expected")))
    wine "$cli" "$@" >"$work/out.txt" 2>"$work/err.txt" || status=$?
    check "$name: exit status" "$want" "$status"
    [ "$status" == "$want" ] || sed 's/^/      /' "$work/err.txt"
    check "$name: bytes on the wire" "$expected" "$(bytes_since "$log" "$before" "$count")"
}

# No printer: the arguments reach the program as UTF-8 and text goes out in the code page named.
TERVAN_ANSI_CODEPAGE=936 wine "$cli" apply --dry-run --manufacturer 打印 >"$work/dry.txt" 2>/dev/null
check "dry run, Chinese text in code page 936" \
    "1B 06 1B 24 B4 F2 D3 A1 00 1B 16" "$(tr -s ' \r\n' ' ' <"$work/dry.txt" | sed 's/ $//')"

# A Chinese Windows shows the Chinese messages, as UTF-8 where they go to a file. (Non-ASCII
# arguments would need the zh_CN.UTF-8 locale installed on the host: without it Wine reads the
# arguments as ASCII.)
LC_ALL=zh_CN.UTF-8 wine "$cli" apply --dry-run --manufacturer ABC >/dev/null 2>"$work/err.txt"
check "verdict in the user's language" "设置成功,重新启动后生效" "$(tr -d '\r' <"$work/err.txt")"
# Without --port, the message names a COM port, as --help does.
code=0
wine "$cli" apply >/dev/null 2>"$work/err.txt" || code=$?
check "missing --port: exit status" 2 "$code"
check "missing --port names a COM port" \
    "--port: missing; give usb or a COM port such as COM3 (tervan-cli ports lists them)" \
    "$(tr -d '\r' <"$work/err.txt")"

# Profiles: written twice over the same file (a rename over an existing file), then applied;
# a folder is no profile.
profile=$(winepath -w "$work/shop.toml")
wine "$cli" profile save "$profile" --density 3 >/dev/null 2>&1
wine "$cli" profile save "$profile" --code-page cp437 --density 12 --manufacturer ACME \
    >/dev/null 2>&1
wine "$cli" apply --profile "$profile" --dry-run >"$work/dry.txt" 2>/dev/null
check "profile saved and applied" "1B 06 1B 74 00 1B 24 41 43 4D 45 00 1B FD 0C 1B 16" \
    "$(tr -s ' \r\n' ' ' <"$work/dry.txt" | sed 's/ $//')"
code=0
wine "$cli" profile show "$(winepath -w "$work")" >/dev/null 2>&1 || code=$?
check "a folder as a profile: exit status" 2 "$code"

# The project's virtual printer: a conversation, and a logo stored in slot 2.
sim_log=$work/sim.bin
: >"$sim_log"
start_printer com5 "$work/sim.txt" "$sim" --log "$sim_log" --out "$work"
expect_wire "apply to the virtual printer on COM5" "$sim_log" \
    "1B 06 1B 74 2F 1B 24 41 42 43 00 1B 16" \
    apply --port COM5 --code-page 47 --manufacturer ABC
wine "$cli" profile save "$(winepath -w "$work/counter.toml")" --port COM5 --code-page 47 \
    --manufacturer ABC >/dev/null 2>&1
expect_wire "apply a profile that names COM5" "$sim_log" \
    "1B 06 1B 74 2F 1B 24 41 42 43 00 1B 16" \
    apply --profile "$(winepath -w "$work/counter.toml")"
# A text with a control character is refused before the port is opened.
status=2 expect_wire "a refused text sends nothing" "$sim_log" "" \
    apply --port COM5 --code-page 47 --manufacturer $'A\x1bB'
expect_wire "apply at 115200 bit/s, even parity, 7 data bits" "$sim_log" \
    "1B 06 1B 23 07 1B 16" \
    apply --port com5 --baud 115200 --parity even --data-bits 7 \
    --serial-format 115200,even,7,xon-xoff
# 13 x 7 dots, rows of 4 bytes with their padding, the picture's top line first.
expect_wire "logo download to slot 2" "$sim_log" \
    "1B 06 1B FF 02 04 00 07 00 81 08 00 00 46 18 00 00 10 A8 00 00 61 88 00 00 0A 48 00 00 08 10 00 00 62 58 00 00 1B 16 1B 16" \
    logo download --port COM5 --slot 2 "$(winepath -w "$root/tests/data/logo-13x7-netpbm.bmp")"
expect_wire "logo print of slot 2" "$sim_log" "1C 50 02" logo print --port COM5 --slot 2

# A full-width logo: exactly the bytes the Linux build sends to the same printer. 384 x 96
# dots: EnterSetup, the header, 96 rows of 48 bytes, LeaveSetup twice.
logo=$root/tests/data/tervan-logo.bmp
linux_cli=$(dirname "$sim")/tervan-cli
expected_length=$((2 + 7 + 96 * 48 + 4))
before=$(stat -c %s "$sim_log")
"$linux_cli" logo download --port "$(readlink "$WINEPREFIX/dosdevices/com5")" --slot 8 "$logo" \
    2>/dev/null
linux_bytes=$(bytes_since "$sim_log" "$before" "$expected_length")
check "logo download from Linux: length" "$expected_length" "$(wc -w <<<"$linux_bytes")"
check "logo download from Linux: header" "1B 06 1B FF 08 30 00 60 00" "${linux_bytes:0:26}"
expect_wire "full-width logo download, as from Linux" "$sim_log" "$linux_bytes" \
    logo download --port COM5 --slot 8 "$(winepath -w "$logo")"

# A picture fitted to the 58 mm paper: the Windows build decodes, resamples and dithers it into
# exactly the BMP the Linux build writes.
picture=$work/picture-768x96.pgm
python3 -c 'import sys; w, h = 768, 96; sys.stdout.buffer.write(b"P5\n%d %d\n255\n" % (w, h) +
    bytes((x // 3 + (x * y) % 61) % 256 for y in range(h) for x in range(w)))' >"$picture"
"$linux_cli" logo convert "$picture" "$work/linux.bmp" --paper 58 >/dev/null
wine "$cli" logo convert "$(winepath -w "$picture")" "$(winepath -w "$work/windows.bmp")" \
    --paper 58 --preview "$(winepath -w "$work/windows.png")" >/dev/null 2>&1
check "picture converted to the same BMP as on Linux" "same" \
    "$(cmp -s "$work/linux.bmp" "$work/windows.bmp" && echo same)"
check "preview written" "PNG" "$(head -c 4 "$work/windows.png" | tail -c 3)"

# A printer that answers the wrong two bytes: nothing is sent, setup mode is left all the same.
kill "${pids[-1]}"
wrong_log=$work/wrong.bin
: >"$wrong_log"
start_printer com5 "$work/wrong.txt" "$sim" --reply wrong --log "$wrong_log"
status=1 expect_wire "apply to a printer that answers wrongly" "$wrong_log" "1B 06 1B 16" \
    apply --port COM5 --code-page 47 --manufacturer ABC

finish
