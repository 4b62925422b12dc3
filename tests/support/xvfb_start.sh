# shellcheck shell=bash
# The start the tests of the real program under Xvfb share: their arguments (the program, then
# the demo cabinet's folder), the session's helpers, the skip (77) where Xvfb or xdotool is
# missing, and a scratch folder of the test's own that goes when it ends.
#
# Sourced first, with the test's short name and the test's own arguments:
#   source "$(dirname "${BASH_SOURCE[0]}")/../support/xvfb_start.sh" NAME "$@"
# shellcheck disable=SC2034  # the variables are the test's
set -uo pipefail

program_source="$2"
demo_cabinet="$3"
timeout="${XVFB_TEST_TIMEOUT:-20}"
skip=77

scripts="$(dirname "${BASH_SOURCE[0]}")/../../scripts"
# shellcheck source=SCRIPTDIR/../../scripts/common.sh
source "$scripts/common.sh"
# shellcheck source=SCRIPTDIR/../../scripts/xvfb_session.sh
source "$scripts/xvfb_session.sh"
skip_without_xvfb_tools "$skip"
begin_session "$1"
