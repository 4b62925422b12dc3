#!/usr/bin/env bash
# Adds Favorizer to the desktop's menu, pointing at this folder wherever it was unpacked.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
applications="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$applications"
sed -e "s|^Exec=.*|Exec=\"$here/favorizer\"|" -e "s|^Icon=.*|Icon=$here/favorizer.svg|" \
    -e "/^Icon=/a Path=$here" "$here/favorizer.desktop" > "$applications/favorizer.desktop"
echo "Desktop entry written to $applications/favorizer.desktop"
