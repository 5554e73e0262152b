#!/usr/bin/env bash
# Makes the private Wine prefix the Windows tests run in, once: a 64-bit prefix without the Mono
# and Gecko installers, and the dialog fonts replaced by an installed CJK font so that Chinese
# texts are drawn instead of boxes (Windows brings its own fonts).
set -euo pipefail
prefix=$1
[ -f "$prefix/.tervan-ready" ] && exit 0
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
wineserver -w
fonts=$prefix/fonts.reg
{
    echo 'REGEDIT4'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "SimSun"; do
        echo "\"$face\"=\"WenQuanYi Micro Hei\""
    done
} >"$fonts"
wine regedit /S "$(winepath -w "$fonts")" >/dev/null 2>&1
wineserver -w
touch "$prefix/.tervan-ready"
