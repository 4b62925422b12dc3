#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Builds Favorizer and starts it on a scratch copy of the demo cabinet in demo/cabinet.
# The copy in the repository is never changed.
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$FAVORIZER_ROOT"

ensure_packages "${FAVORIZER_PACKAGES[@]}"
cmake --preset default
cmake --build --preset default --target favorizer

program_dir="$FAVORIZER_ROOT/build/default"
program="$program_dir/favorizer"

# A fresh copy on every run, so the demo always starts from the same files.
scratch="$(cd "${TMPDIR:-/tmp}" && pwd -P)/favorizer-demo"
cabinet="$scratch/cabinet"
mkdir -p "$scratch"
rm -rf -- "$cabinet"
cp -R demo/cabinet "$cabinet"
echo "Demo cabinet: $cabinet"

settings="$program_dir/favorize.cfg"
if [[ -e "$settings" ]]; then
    echo "Keeping the existing $settings (delete it to point Favorizer at the demo cabinet again)."
else
    write_favorize_cfg "$settings" "$cabinet" "$cabinet/config" "$cabinet/config" 0
    echo "Wrote $settings"
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    cat >&2 <<HINT

Favorizer is built, but there is no desktop session to show its windows in
(neither DISPLAY nor WAYLAND_DISPLAY is set). Run this script again from a
terminal inside a graphical desktop, or start the program yourself there:
    $program
For a quick check without a screen, the program can draw off-screen:
    QT_QPA_PLATFORM=offscreen $program
HINT
    exit 1
fi

echo "Starting $program"
exec "$program"
