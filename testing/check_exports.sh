#!/usr/bin/env bash
# Checks that a built module exports exactly the names of the .def file.
set -euo pipefail
module=$1 def=$2

expected=$(sed -e '1,/^EXPORTS/d' -e 's/^[[:space:]]*//' -e '/^$/d' "$def" | sort)
case "$module" in
  *.dll) actual=$(x86_64-w64-mingw32-objdump -p "$module" |
                  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
                  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort) ;;
  *)     actual=$(nm -D --defined-only "$module" | awk '{print $3}' | sed '/^$/d' | sort) ;;
esac

if [ "$expected" != "$actual" ]; then
  echo "exports of $module differ from $def:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "$(echo "$actual" | wc -l) exports match $def"
