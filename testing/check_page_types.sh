#!/usr/bin/env bash
# Checks the sample pages' scripts against the page API's types with the
# pinned TypeScript compiler: usage: check_page_types.sh WORK_DIR SOURCE_DIR.
# The compiler is installed with `npm ci` into WORK_DIR (the build folder),
# again only when the lock file changes; the source tree stays untouched.
# Each page is its own program, as each is its own page: room.js, and the
# inline scripts of every .html page, whose other lines are blanked so that
# tsc's line numbers are the page's.
set -euo pipefail
work=$1/page_types
source=$2
types=$source/include/xloop/xloop_room.d.ts
mkdir -p "$work/pages"

if ! cmp -s "$source/testing/typescript/package-lock.json" "$work/package-lock.json" ||
   [ ! -x "$work/node_modules/.bin/tsc" ]; then
  cp "$source/testing/typescript/package.json" "$source/testing/typescript/package-lock.json" "$work/"
  (cd "$work" && npm ci --no-audit --no-fund --loglevel=error) || {
    rm -f "$work/package-lock.json"
    exit 1
  }
fi

scripts=()
for page in "$source"/examples/pages/*.js; do
  scripts+=("$page")
done
for page in "$source"/examples/pages/*.html; do
  grep -q '^[[:space:]]*<script>[[:space:]]*$' "$page" || continue
  inline="$work/pages/$(basename "$page").js"
  awk '/^[[:space:]]*<script>[[:space:]]*$/ { inside = 1; print ""; next }
       /^[[:space:]]*<\/script>[[:space:]]*$/ { inside = 0 }
       { print inside ? $0 : "" }' "$page" >"$inline"
  scripts+=("$inline")
done

failed=0
for script in "${scripts[@]}"; do
  if "$work/node_modules/.bin/tsc" --noEmit --allowJs --checkJs --target es2022 --lib es2022,dom \
       "$types" "$script"; then
    echo "ok: $(basename "$script")"
  else
    failed=$((failed + 1))
  fi
done
echo "${#scripts[@]} page scripts checked, $failed with type errors"
[ "${#scripts[@]}" -gt 0 ] && [ "$failed" -eq 0 ]
