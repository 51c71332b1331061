# Shared by scripts/run and scripts/test: installs missing Debian packages and builds.
# shellcheck shell=bash

OSTREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
                libturbojpeg0-dev libavformat-dev libavcodec-dev
                libavutil-dev libv4l-dev libgl-dev libpulse-dev)
TEST_PACKAGES=(ffmpeg pulseaudio pulseaudio-utils nginx-light libnginx-mod-rtmp xvfb xauth appstream
               desktop-file-utils dpkg-dev)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "error: installing packages needs root or sudo: $*" >&2
        return 1
    fi
}

# Installs those of the given Debian packages that are not installed yet.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# configure_and_build DIR BUILD_TYPE [extra cmake arguments...]
# OSTREL_BUILD_TARGET, when set, builds only that target.
configure_and_build() {
    local dir=$1 type=$2
    shift 2
    cmake -S "$OSTREL_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)" ${OSTREL_BUILD_TARGET:+--target "$OSTREL_BUILD_TARGET"}
}
