# Sourced: the Wine session's functions (start_wine_session <build dir>), for a
# shell by hand; they live in tools/lib.sh with the tools' other helpers.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
