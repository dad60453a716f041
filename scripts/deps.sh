#!/usr/bin/env bash
# Installs the Debian 12 packages the build (and, with --test, the tests)
# need, skipping what is already there. Runs apt as root or through sudo.
set -euo pipefail

# wx3.2-i18n translates the toolkit's own texts (progress dialogs, stock
# buttons) in the program's languages.
# libwebp writes animated WebP.
# Pango, Cairo and fontconfig lay out and draw captions without a display.
BUILD_PACKAGES=(build-essential cmake pkg-config gettext libwxgtk3.2-dev libgif-dev
                libcurl4-openssl-dev wx3.2-i18n libpango1.0-dev libcairo2-dev
                libfontconfig-dev libwebp-dev liblz4-dev libzstd-dev)
# wx-common brings wxrc, which extracts the resource texts for the catalogs;
# fonts-dejavu-core draws the text of the benchmark's screen-like frames and
# has the Arabic and Hebrew letters the caption tests lay out.
# ffmpeg (with ffprobe) reads video clips for Import Video and the renderer
# when it is installed; it is no build dependency, and the tests make clips with it.
# gifsicle measures how much a lossless re-optimisation takes off our GIFs (benchmark only).
TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xauth x11-utils xdotool imagemagick
               python3 python3-pil giflib-tools fonts-noto-cjk desktop-file-utils ffmpeg bc
               time wx-common fonts-dejavu-core gifsicle)

wanted=("${BUILD_PACKAGES[@]}")
if [[ "${1:-}" == "--test" ]]; then
    wanted+=("${TEST_PACKAGES[@]}")
fi

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
