#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Kestrova need.
# Does nothing when they are all present. Needs root or sudo only when something is missing.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libfontconfig-dev
    # the icon's bitmap sizes, and the Debian package's library dependencies
    librsvg2-bin dpkg-dev file
    # tests and benchmarks
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    # the progress report's PDF read back as text (pdftotext) and as pages (pdftoppm)
    poppler-utils
    # the CSV report opened by a real spreadsheet (LibreOffice Calc without its windows)
    libreoffice-calc-nogui
    # checks of the menu entry, the software-centre data, the manual page and the Debian
    # package (lintian, and python3-debian to read the copyright file)
    desktop-file-utils appstream man-db lintian python3-debian
    # fuzzing the loaders (clang with libFuzzer and the sanitizers)
    clang libclang-rt-14-dev
    # the real window under a virtual screen, clicks and screenshots
    xvfb xauth xdotool x11-utils imagemagick
    # a window manager over the virtual screen, for dialogs over the full-screen window
    openbox
    # the press-to-pixels benchmark's tool (XTest presses, screen read back)
    libxtst-dev
    # a screen reader's client on a private session bus: the accessibility bus and AT-SPI from Python
    dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
    # Orca itself heard in a test: the screen reader, its speech through speech-dispatcher and
    # eSpeak NG, and a window manager that gives the focus back after dialogs
    orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng openbox
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
