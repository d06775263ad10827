#!/usr/bin/env bash
# Runs a Windows program under the project's private Wine prefix.
# Windows paths of fixtures are the same Unix paths seen through drive Z:.
set -e
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
exec "$ZV_WINE" "$@"
