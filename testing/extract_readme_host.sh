#!/usr/bin/env bash
# Writes the README's host files (each block after a <!-- host file: NAME -->
# marker) into DIR, as they stand there.
# usage: extract_readme_host.sh README DIR
set -euo pipefail
readme=$1 dir=$2
awk -v dir="$dir" '
  /^<!-- host file: [^ ]+ -->$/ { name = $4; next }
  name != "" && /^```/ { if (open) { open = 0; name = "" } else open = 1; next }
  open { print > (dir "/" name) }' "$readme"
