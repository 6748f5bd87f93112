#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the program need, but only when
# one of them is missing, so a prepared machine goes straight on.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config          # build
  ccache                                    # the sanitizer build's second compile of everything
  qt6-base-dev libqt6opengl6-dev libgl-dev  # Qt Widgets, Print Support, Test (Charts needs OpenGL to configure)
  qt6-charts-dev                            # chart pictures
  qt6-translations-l10n                     # Qt's own dialogs and buttons in Chinese
  libsqlcipher-dev sqlcipher                # the encrypted database and its command-line tool
  libkainjow-mustache-dev                   # report layouts
  libicu-dev                                # pinyin of client names (ICU transliteration)
  fonts-noto-cjk                            # Chinese text on screen and in print
  python3 python3-fonttools                 # the report typeface derived from it at build time
  xvfb xauth imagemagick                    # looking at windows without a display
  poppler-utils                             # report pages as pictures (pdftoppm)
  qt6-svg-dev                               # the application icon as SVG (built by tools/render_icon)
  desktop-file-utils appstream              # checking the desktop entry and metainfo
  clang-format git                          # the layout of the sources, checked by CI
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
