#!/usr/bin/env bash
# Shared by the scripts in this folder: source it, don't run it.
# shellcheck disable=SC2034  # the variables are for the scripts that source this file

# The repository root, whatever the caller's working directory.
FAVORIZER_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What a fresh Debian 12 needs to build and test the program; the font package gives the face
# built into the program, SDL2 the game controllers.
FAVORIZER_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgtest-dev libbenchmark-dev fonts-liberation2 libsdl2-dev)

# What the tests add: one of them runs the program on a virtual X screen, driven by xdotool.
FAVORIZER_TEST_PACKAGES=(qt6-qpa-plugins fonts-dejavu-core xvfb xdotool)

# Installs those of the given Debian packages that are not installed yet.
ensure_packages() {
    local missing=() package status
    for package in "$@"; do
        status="$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)"
        if [[ "$status" != "install ok installed" ]]; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]} == 0)); then
        return 0
    fi

    echo "Installing missing packages: ${missing[*]}"
    local as_root=()
    if ((EUID != 0)); then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "error: installing ${missing[*]} needs root, and sudo is not available." >&2
            echo "Install them as root, then run this script again." >&2
            return 1
        fi
        as_root=(sudo)
    fi
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
}

# Writes the program's settings file: nine lines, each ended by CR LF.
# write_favorize_cfg FILE KABINET_CFG_FOLDER MAME_CFG_FOLDER MAME_MAP_FOLDER FULLSCREEN(0|1)
write_favorize_cfg() {
    printf '%s\r\n' \
        "# This file was created by Favorizer for Kabinet." \
        "# Next line is where kabinet.cfg file is stored." \
        "Kabinet.cfg default path = $2" \
        "# The next line is where mame.cfg is stored." \
        "Mame.cfg default path = $3" \
        "# The next line is where mame.map is stored." \
        "Mame.map default path = $4" \
        "# Next line chooses wheter or not Favorizer runs full screen. 1 = fullscreen" \
        "Run Favorizer fullscreen =  $5" >"$1"
}
