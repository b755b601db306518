#!/usr/bin/env bash
# Installs a build into a fresh prefix and checks the release form of its
# binaries: no debug information in any installed binary but a separate symbol
# file beside it; for the module, a debug link that leads to that file and
# resolves a function to its source line, and on Linux the hardening (stack
# protector, fortified calls, full RELRO, immediate binding). Prints the
# installed sizes.
# usage: check_release.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
# Whether a file has debug sections. Output read whole: a `| grep -q` that
# stops reading early fails the pipe (SIGPIPE) under pipefail.
has_debug_info() { grep -q '\.debug_info' <<<"$("${tools}objdump" -h "$1")"; }

cmake --install "$build" --prefix "$work" >/dev/null
if [ -e "$work/bin/XLoopConfigureClient.dll" ]; then
  tools=x86_64-w64-mingw32- library=$work/bin/XLoopConfigureClient.dll
else
  tools="" library=$(echo "$work"/lib*/libXLoopConfigureClient.so.*.*.*)
fi
symbols=$(dirname "$library")/.debug/$(basename "$library").debug
(cd "$work" && find . -type f \( -name '*.so.*' -o -name '*.dll' -o -name '*.debug' -o -path './bin/*' \) \
  -printf '%10s  %P\n' | sort -k2)

# Every installed binary (told by its first bytes: ELF or MZ), of any component.
while IFS= read -r -d '' binary; do
  magic=$(head -c 4 "$binary" | od -An -tx1 | tr -d ' \n')
  [ "$magic" = 7f454c46 ] || [ "${magic:0:4}" = 4d5a ] || continue
  has_debug_info "$binary" && fail "$binary still carries debug information"
  split=$(dirname "$binary")/.debug/$(basename "$binary").debug
  has_debug_info "$split" || fail "$split holds no debug information"
done < <(find "$work" -type f -not -path '*/.debug/*' -print0)
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
grep -Eq '\(BIND_NOW\)|\(FLAGS\).*NOW' <<<"$(readelf -d "$library")" || fail "$library is not bound immediately"
grep -q GNU_RELRO <<<"$(readelf -lW "$library")" || fail "$library has no RELRO segment"
imports=$(nm -D --undefined-only "$library")
grep -q ' __stack_chk_fail' <<<"$imports" || fail "$library is built without the stack protector"
grep -Eq ' __[a-z_]+_chk(@|$)' <<<"$imports" || fail "$library calls no fortified function"
echo "hardened: immediate binding, RELRO, stack protector, fortified calls"
