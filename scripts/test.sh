#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Builds everything and runs every test, then the core tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer. Exits with the tests' status.
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$FAVORIZER_ROOT"

ensure_packages "${FAVORIZER_PACKAGES[@]}" "${FAVORIZER_TEST_PACKAGES[@]}"
cmake --preset default
cmake --build --preset default
ctest --preset default
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize
