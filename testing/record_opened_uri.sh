#!/bin/sh
# Stands in for the desktop's link openers (xdg-open, xdg-email) in tests:
# appends the link it is given to a file beside itself.
printf '%s\n' "$1" >> "$(dirname "$0")/opened.txt"
