#!/usr/bin/env bash
# Regenerates converter/resources/pages.rc from the unit catalogue.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
tool=$(mktemp)
trap 'rm -f "$tool"' EXIT
g++ -std=c++17 -Wall -Wextra -I"$root" -o "$tool" "$root/converter/resources/make_pages_rc.cpp" \
  "$root/converter/engine/catalogue.cpp"
"$tool" > "$root/converter/resources/pages.rc"
