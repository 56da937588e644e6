#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian packages from the build folder and checks them: the files lie under /usr
# (the autostart entry alone under /etc/xdg, as XDG autostart asks), the dependencies were
# computed and the recommendations given, the licence is told alike everywhere, lintian reports
# no error, no maintainer scripts come along, and every binary is built hardened.
set -euo pipefail
build=$(realpath "${1:?usage: package-test.sh BUILD_DIR}")
fail() { echo "package-test: $*" >&2; exit 1; }

rm -f "$build"/corvanta*_amd64.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log"; fail "cpack failed"; }
runtime=$(ls "$build"/corvanta_*_amd64.deb)
dev=$(ls "$build"/corvanta-dev_*_amd64.deb)

runtime_files=$(dpkg-deb --contents "$runtime" | awk '{print $6}')
dev_files=$(dpkg-deb --contents "$dev" | awk '{print $6}')
outside=$(grep -v -E '^\./(usr/|$|etc/$|etc/xdg/$|etc/xdg/autostart/)' <<<"$runtime_files
$dev_files" || true)
[[ -z $outside ]] || fail "files outside /usr: $outside"
grep -qx './usr/bin/corvanta-prefs' <<<"$runtime_files" || fail "no corvanta-prefs"
grep -qx './usr/include/corvanta/toolkit/CString256.h' <<<"$dev_files" ||
  fail "no toolkit headers in the -dev package"
dpkg-deb --field "$runtime" Depends | grep -q 'libqt6widgets6' || fail "Depends was not computed"
# GNOME shows the menu's item only with the AppIndicator extension.
dpkg-deb --field "$runtime" Recommends | grep -q 'gnome-shell-extension-appindicator' ||
  fail "the AppIndicator extension is not recommended"

# The licence, as each package and the metainfo and pkg-config file tell it.
packaged() { dpkg-deb --fsys-tarfile "$1" | tar -xO "$2"; }
for deb in "$runtime" "$dev"; do
  name=$(dpkg-deb --field "$deb" Package)
  copyright=$(packaged "$deb" "./usr/share/doc/$name/copyright")
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    <<<"$copyright" || fail "$name: the copyright file is not machine-readable"
  grep -qx 'License: Expat' <<<"$copyright" || fail "$name: the code is not under Expat"
  tr '\n' ' ' <<<"$copyright" | tr -s ' ' |
    grep -q 'corvanta-menu binary is therefore distributed under the terms of the GPL-3' ||
    fail "$name: the menu's GPL-3 terms are not told"
done
metainfo=$(grep '\.metainfo\.xml$' <<<"$runtime_files")
packaged "$runtime" "$metainfo" | grep -q '<project_license>MIT</project_license>' ||
  fail "the metainfo names no project licence"
pc=$(grep '/corvanta\.pc$' <<<"$dev_files")
packaged "$dev" "$pc" | grep -qx 'License: MIT' || fail "the pkg-config file names no licence"

lintian --fail-on error "$runtime" "$dev" || fail "lintian reports errors"

# Nothing to run at install or removal: the one shared library is the pane's, in a folder of
# its own that the dynamic linker never searches, so there is no ldconfig to call.
for deb in "$runtime" "$dev"; do
  scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t |
    grep -E '(^|/)(preinst|postinst|prerm|postrm)$' || true)
  [[ -z $scripts ]] || fail "$(basename "$deb") has maintainer scripts: $scripts"
done

# Every program and library is built hardened: stack protector, fortified calls, read-only
# relocations bound at start (BIND_NOW), position-independent. Not checked: control-flow
# protection, which Debian 12's C start-up files lack, so that no program linked there has it;
# and for the pane's library, fortified calls: its code makes none whose buffer size the
# compiler knows, so there is nothing to fortify although it is built so.
unpacked=$(mktemp -d -t corvanta-package.XXXXXX)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$runtime" "$unpacked"
mapfile -t binaries < <(find "$unpacked" -type f -print0 | xargs -0 file -N |
  awk -F': ' '$2 ~ /^ELF/ {print $1}')
((${#binaries[@]} >= 5)) || fail "only ${#binaries[@]} programs and libraries in the package"
for binary in "${binaries[@]}"; do
  skip=(--nocfprotection)
  [[ $binary == */Corvanta.so ]] && skip+=(--nofortify)
  hardening-check --quiet "${skip[@]}" "$binary" || fail "not built hardened: ${binary#"$unpacked"}"
done

echo "package-test: $(basename "$runtime") $(stat -c %s "$runtime") bytes," \
  "$(grep -c -v '/$' <<<"$runtime_files") files"
