#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build and the tests need; only what is missing.
set -euo pipefail

# qt6-translations-l10n: Qt's own German texts (context menus, standard buttons).
# qt6-tools-dev: the help framework; qt6-documentation-tools: qhelpgenerator,
# which compiles the help topics; libqt6sql6-sqlite: the help engine's database.
# desktop-file-utils, appstream: validators of the desktop entry and metainfo;
# dpkg-dev, file: what CPack needs to compute a Debian package's dependencies.
# valgrind, xvfb, dbus-daemon, dbus-session-bus-common, python3: the start-up
# measurement and its gate.
packages=(cmake make g++ pkg-config qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev libgtest-dev
          fonts-liberation2 qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite
          desktop-file-utils appstream dpkg-dev file valgrind xvfb dbus-daemon dbus-session-bus-common
          python3)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
