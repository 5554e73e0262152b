#!/usr/bin/env bash
# The zip `make package-windows` makes: both programs, and a README that Notepad reads as UTF-8
# (byte-order mark, Windows line ends) and that tells Wine users how to get Chinese drawn.
set -euo pipefail
bin=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/scripts/package-windows" "$bin" "$work/tervan.zip"
python3 - "$work/tervan.zip" "$bin" <<'PY'
import os, sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
names = sorted(z.namelist())
programs = sorted(n for n in ("tervan-cli.exe", "tervan.exe") if os.path.exists(os.path.join(sys.argv[2], n)))
readme = z.read("README-windows.txt")
checks = [
    ("the programs and the README", names == sorted(programs + ["README-windows.txt"])),
    ("README starts with EF BB BF", readme[:3] == b"\xEF\xBB\xBF"),
    ("every line ends in CR LF", readme.count(b"\n") > 0 and readme.count(b"\n") == readme.count(b"\r\n")),
    ("the Wine font replacement", b'"SimSun"="WenQuanYi Micro Hei"' in readme),
]
failed = [name for name, ok in checks if not ok]
for name, ok in checks:
    print(("ok    " if ok else "FAIL  ") + name)
sys.exit(1 if failed else 0)
PY
