#!/usr/bin/env bash
# The Debian package as a user gets it: unpacked into a scratch root, it holds the three programs
# (stripped, answering --version), the desktop entry, the icons, the AppStream metadata, the
# manual pages and the udev rule; the validators and lintian find no error in it.
# Usage: check-package.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failed=0
fail() {
    echo "check-package: $*" >&2
    failed=1
}

dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
cd "$root"

for file in usr/bin/tervan usr/bin/tervan-cli usr/bin/tervan-printer-sim \
    usr/share/applications/tervan.desktop usr/share/metainfo/org.tervan.Tervan.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/tervan.svg usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/tervan.png \
    usr/share/man/man1/{tervan,tervan-cli,tervan-printer-sim}.1.gz usr/lib/udev/rules.d/60-tervan.rules \
    usr/share/doc/tervan/copyright; do
    [ -f "$file" ] || fail "missing $file"
done

for program in tervan tervan-cli tervan-printer-sim; do
    if readelf -S "usr/bin/$program" | grep -q '\.symtab'; then
        fail "usr/bin/$program is not stripped"
    fi
    # The window answers before it looks for a display.
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY "usr/bin/$program" --version) || true
    [ "$said" = "$program $version" ] || fail "$program --version said '$said', not '$program $version'"
done

depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libusb-1.0-0* ]] ||
    fail "Depends, read from the programs, lacks Qt or libusb: $depends"
[[ $(dpkg-deb -f "$deb" Recommends) == *fonts-wqy-microhei* ]] || fail "no CJK font recommended"
control=$(mktemp -d)
dpkg-deb -e "$deb" "$control"
for script in postinst postrm; do
    grep -q 'udevadm control --reload-rules' "$control/$script" || fail "$script does not reload udev"
done
rm -rf "$control"

# Its hints (Utility and Settings are both main categories) are not faults.
validation=$(desktop-file-validate usr/share/applications/tervan.desktop 2>&1 | grep -v ': hint: ' ||
    true)
[ -z "$validation" ] || fail "desktop-file-validate: $validation"
appstreamcli validate --no-net --no-color usr/share/metainfo/org.tervan.Tervan.metainfo.xml \
    >/dev/null || fail "appstreamcli validate found faults in the metainfo"

for page in usr/share/man/man1/*.1.gz; do
    # groff's warnings (a bad macro, a line it cannot set) come on standard error.
    text=$(MANWIDTH=80 man -l "$page" 2>"$root/man-warnings") || fail "$page does not render"
    [ -s "$root/man-warnings" ] && fail "$page: $(cat "$root/man-warnings")"
    [[ $text == *NAME* && $text == *EXIT\ STATUS* ]] || fail "$page lacks NAME or EXIT STATUS"
done

findings=$(lintian --fail-on error "$deb" 2>&1) || fail "lintian found errors"
grep -v 'running with root privileges' <<<"$findings" || true

[ $failed -eq 0 ] && echo "check-package: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) is sound"
exit $failed
