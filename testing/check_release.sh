#!/usr/bin/env bash
# Installs a build into a fresh prefix and checks the release form of the
# module: no debug information in the installed binary, a separate symbol file
# that the binary's debug link leads to and that resolves a function to its
# source line, and on Linux the hardening (stack protector, fortified calls,
# full RELRO, immediate binding). Prints the installed sizes.
# usage: check_release.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }

cmake --install "$build" --prefix "$work" >/dev/null
if [ -e "$work/bin/XLoopConfigureClient.dll" ]; then
  tools=x86_64-w64-mingw32- library=$work/bin/XLoopConfigureClient.dll
else
  tools="" library=$(echo "$work"/lib*/libXLoopConfigureClient.so.*.*.*)
fi
symbols=$(dirname "$library")/.debug/$(basename "$library").debug
(cd "$work" && find . -type f \( -name '*.so.*' -o -name '*.dll' -o -name '*.debug' -o -path './bin/*' \) \
  -printf '%10s  %P\n' | sort -k2)

"${tools}objdump" -h "$library" | grep -q '\.debug_info' && fail "$library still carries debug information"
"${tools}objdump" -h "$symbols" | grep -q '\.debug_info' || fail "$symbols holds no debug information"
"${tools}objcopy" --dump-section .gnu_debuglink="$work/link" "$library" "$work/copy" ||
  fail "$library has no debug link"
[ "$(head -c "$(basename "$symbols" | wc -c)" "$work/link" | tr -d '\0')" = "$(basename "$symbols")" ] ||
  fail "the debug link of $library does not name $(basename "$symbols")"

# The stripped binary, asked for a function's source line, finds it through
# its debug link.
address=$("${tools}nm" "$symbols" | awk '$3 == "InitializeVEQ" { print $1 }')
[ -n "$address" ] || fail "InitializeVEQ is not in $symbols"
line=$("${tools}addr2line" -e "$library" "0x$address")
[[ "$line" == */lifecycle_exports.cpp:[0-9]* ]] || fail "InitializeVEQ resolved to '$line'"
echo "InitializeVEQ at $line"

[ -z "$tools" ] || exit 0
readelf -d "$library" | grep -Eq '\(BIND_NOW\)|\(FLAGS\).*NOW' || fail "$library is not bound immediately"
readelf -lW "$library" | grep -q GNU_RELRO || fail "$library has no RELRO segment"
imports=$(nm -D --undefined-only "$library")
grep -q ' __stack_chk_fail' <<<"$imports" || fail "$library is built without the stack protector"
grep -Eq ' __[a-z_]+_chk(@|$)' <<<"$imports" || fail "$library calls no fortified function"
echo "hardened: immediate binding, RELRO, stack protector, fortified calls"
