#!/usr/bin/env bash
# Builds the Debian package of a build folder with CPack, unpacks it into a
# temporary root and starts the program from there, headless, as an installed
# copy: it must run, find its help in the package's data folder and say so in
# its diagnostic log, and load its help module. Usage: tools/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/velkaro_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in qt6-translations-l10n libqt6sql6-sqlite libqt6svg6 libqt6help6 libqt6widgets6; do
    if ! grep -q "$needed" <<<"$depends"; then
        echo "package does not depend on $needed" >&2
        exit 1
    fi
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/velkaro usr/lib/velkaro/libvelkaro-help.so usr/lib/velkaro/libvelkaro-svg.so usr/share/velkaro/kl_VKOV30_Help.qch usr/share/applications/velkaro.desktop \
         usr/share/metainfo/velkaro.metainfo.xml usr/share/icons/hicolor/48x48/apps/velkaro.png; do
    [ -e "$root/$f" ] || { echo "missing in package: $f" >&2; exit 1; }
done

# Headless start with the diagnostic log; the program runs until the timeout ends it.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_CACHE_HOME="$work/home/cache"
mkdir -p "$HOME"
rc=0
QT_QPA_PLATFORM=offscreen VELKARO_FIRST_FRAME=exit timeout 5 "$root/usr/bin/velkaro" -debug || rc=$?
# 0: left after its first frame; 124: still running when the timeout came.
if [ "$rc" -ne 0 ] && [ "$rc" -ne 124 ]; then
    echo "the installed program ended with $rc" >&2
    exit 1
fi
log="$root/usr/bin/velkaro_hilfe.log"
[ -f "$log" ] || { echo "no diagnostic log at $log" >&2; exit 1; }
cat "$log"
grep -q "Hilfe-Datei $root/usr/share/velkaro/kl_VKOV30_Help.qch (gefunden)" "$log" || {
    echo "the installed program did not find its help file" >&2
    exit 1
}
grep -q "Hilfe-Modul $root/usr/lib/velkaro/libvelkaro-help.so (geladen)" "$log" || {
    echo "the installed program did not load its help module" >&2
    exit 1
}
echo "package $(basename "$deb") installs and starts"
