#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary prefix and checks it as a user and a developer would:
# every file is there, nothing points back into the build, the desktop files and metainfo pass
# their validators, the installed host finds the installed pane through XDG_DATA_DIRS and shows
# it filled from the installed rate site, and an outside project builds against the toolkit
# with CMake and with pkg-config, and every installed header compiles on its own.
# APP_ID and PANE are the build's application id and the pane bundle's place under share/.
set -euo pipefail
usage="usage: install-test.sh BUILD_DIR SOURCE_DIR APP_ID PANE"
build=$(realpath "${1:?$usage}")
source=$(realpath "${2:?$usage}")
id=${3:?$usage}
pane=share/${4:?$usage}

scratch=$(mktemp -d -t corvanta-install.XXXXXX)
site=
cleanup() {
  [[ -n $site ]] && kill "$site" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "install-test: $*" >&2; exit 1; }

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || {
  cat "$scratch/install.log"; fail "cmake --install failed"; }
libdir=$(cd "$prefix" && dirname "$(find . -name libcorvanta-toolkit.a | head -n1)")

for file in bin/corvanta-prefs bin/corvanta-menu bin/corvanta-rate-site bin/corvanta-watch \
    "$pane/Contents/Info.plist" "$pane/Contents/Linux/Corvanta.so" \
    "$pane/Contents/Resources/CorvantaPrefPane.ui" \
    "$pane/Contents/Resources/en.lproj/LocalizedStrings.strings" \
    "$pane/Contents/Resources/de.lproj/LocalizedStrings.strings" \
    "$pane/Contents/Resources/fr.lproj/LocalizedStrings.strings" \
    share/corvanta/translations/corvanta-host_de.qm share/corvanta/translations/corvanta-host_fr.qm \
    share/corvanta/translations/corvanta-menu_de.qm share/corvanta/translations/corvanta-menu_fr.qm \
    "share/applications/$id.desktop" etc/xdg/autostart/corvanta-menu.desktop \
    "share/icons/hicolor/scalable/apps/$id.svg" "share/metainfo/$id.metainfo.xml" \
    lib/systemd/user/corvanta-rate-site.socket lib/systemd/user/corvanta-rate-site.service \
    lib/systemd/user/sockets.target.wants/corvanta-rate-site.socket \
    share/man/man1/corvanta-prefs.1.gz share/man/man1/corvanta-menu.1.gz \
    share/man/man1/corvanta-rate-site.1.gz share/man/man1/corvanta-watch.1.gz \
    include/corvanta/toolkit/CString256.h include/corvanta/rates/ExchangeRates.h \
    "$libdir"/libcorvanta-toolkit.a "$libdir"/libcorvanta-rates.a \
    "$libdir"/cmake/Corvanta/CorvantaConfig.cmake \
    "$libdir"/cmake/Corvanta/CorvantaConfigVersion.cmake "$libdir"/pkgconfig/corvanta.pc; do
  [[ -e $prefix/$file ]] || fail "not installed: $file"
done
[[ -e $prefix/$pane/Contents/Linux/Corvanta.so ]] ||
  fail "the pane's library link leads nowhere"
grep -q "^ExecStart=$prefix/bin/corvanta-rate-site" \
  "$prefix/lib/systemd/user/corvanta-rate-site.service" || fail "the service names another program"

# Neither the build folder nor the source folder may be named by anything installed.
if matches=$(grep -rlF -e "$build" -e "$source" "$prefix"); then
  fail "installed files name the build: $matches"
fi
if find "$prefix" -type f -perm -u+x | xargs -r readelf -d 2>/dev/null | grep -E 'R(UN)?PATH'; then
  fail "installed programs carry a library search path"
fi

desktop-file-validate "$prefix/share/applications/$id.desktop" \
  "$prefix/etc/xdg/autostart/corvanta-menu.desktop" || fail "a desktop entry is not valid"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" \
  >"$scratch/appstream.log" || { cat "$scratch/appstream.log"; fail "the metainfo is not valid"; }

# The installed rate site, with a feed that refuses at once: it serves its bundled snapshot.
# Its cache, and the settings the installed host stores on leaving, stay in the scratch folder.
export XDG_CACHE_HOME=$scratch/cache XDG_CONFIG_HOME=$scratch/config
"$prefix/bin/corvanta-rate-site" --port 0 --feed "http://127.0.0.1:9/eurofxref-daily.xml" \
  >"$scratch/site.out" 2>"$scratch/site.err" &
site=$!
for _ in $(seq 100); do [[ -s $scratch/site.out ]] && break; sleep 0.1; done
address=$(head -n1 "$scratch/site.out")
[[ $address == http://127.0.0.1:* ]] || { cat "$scratch/site.err"; fail "the rate site did not start"; }

summary=$(env -u CORVANTA_PANE_PATH XDG_DATA_HOME="$scratch/data" \
  XDG_DATA_DIRS="$prefix/share" CORVANTA_RATE_SITE="$address" \
  dbus-run-session -- "$prefix/bin/corvanta-prefs" --screenshot "$scratch/pane.png" \
  2>"$scratch/prefs.err") ||
  { cat "$scratch/prefs.err"; fail "the installed host did not show the installed pane"; }
grep -q "^Available currencies: 29 rows: " <<<"$summary" ||
  fail "the pane does not list the rate site's currencies: $summary"
[[ -s $scratch/pane.png ]] || fail "no picture of the pane"
# In German: the pane from its bundle's table, the menu from its installed translations.
summary=$(env -u CORVANTA_PANE_PATH XDG_DATA_HOME="$scratch/data" LANGUAGE=de \
  XDG_DATA_DIRS="$prefix/share" CORVANTA_RATE_SITE="$address" \
  dbus-run-session -- "$prefix/bin/corvanta-prefs" --screenshot "$scratch/pane.png" \
  2>"$scratch/prefs.err") || { cat "$scratch/prefs.err"; fail "the installed host failed in German"; }
grep -q "^Verfügbare Währungen: 29 rows: " <<<"$summary" ||
  fail "the installed pane does not speak German: $summary"
menu=$(LANGUAGE=de CORVANTA_RATE_SITE="$address" "$prefix/bin/corvanta-menu" --print 2>&1) ||
  fail "the installed menu failed: $menu"
grep -q "^Kurse pro US-Dollar:$" <<<"$menu" || fail "the installed menu does not speak German: $menu"

# An outside project, with CMake and with pkg-config.
cmake -S "$source/tests/install/consumer" -B "$scratch/consumer" \
  -DCMAKE_PREFIX_PATH="$prefix" >"$scratch/consumer.log" 2>&1 &&
  cmake --build "$scratch/consumer" >>"$scratch/consumer.log" 2>&1 ||
  { cat "$scratch/consumer.log"; fail "the CMake package does not build a consumer"; }
[[ $("$scratch/consumer/consumer") == "3 names: Euro;Japanese Yen;Swiss Franc" ]] ||
  fail "the CMake consumer gave the wrong answer"
if grep '^CXX_INCLUDES' "$scratch/consumer/CMakeFiles/consumer.dir/flags.make" | grep -E 'qt6|lua'; then
  fail "a consumer of Corvanta::toolkit is given Qt or Lua headers"
fi
# Only the public headers are installed: none of them names a library the package keeps private.
if grep -rlE '#include <(curl|plist|lua|sdbus-c\+\+|unicode|Q)' "$prefix/include/corvanta"; then
  fail "an installed header needs a private dependency's headers"
fi

export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig"
# shellcheck disable=SC2046 # pkg-config's words are meant to be split
g++ -o "$scratch/consumer-pc" "$source/tests/install/consumer/Consumer.cpp" \
  $(pkg-config --cflags --libs corvanta) || fail "pkg-config does not build a consumer"
[[ $("$scratch/consumer-pc") == "3 names: Euro;Japanese Yen;Swiss Franc" ]] ||
  fail "the pkg-config consumer gave the wrong answer"
echo "install-test: all checks passed"
