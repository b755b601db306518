#!/bin/sh
# Compiles each C block of the README's "Using it in a host" section as a file
# of its own, so that what a host team copies from there compiles against the
# header as it is.
# usage: compile_readme_snippets.sh README C_COMPILER [FLAGS...]
set -eu
readme=$1 compiler=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v dir="$work" '
  /^## / { inSection = ($0 == "## Using it in a host") }
  inSection && $0 == "```c" { inBlock = 1; file = sprintf("%s/block%02d.c", dir, ++count); next }
  inBlock && $0 == "```" { inBlock = 0; close(file); next }
  inBlock { print > file }
' "$readme"

count=0
for block in "$work"/block*.c; do
  [ -e "$block" ] || break
  if ! "$compiler" -std=c99 -Wall -Wextra -Wno-unused-parameter -Werror "$@" -c "$block" -o "$block.o"; then
    echo "this C block of the README does not compile:"
    cat "$block"
    exit 1
  fi
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no C block found in the README's \"Using it in a host\""; exit 1; }
echo "$count C blocks of the README compiled"
