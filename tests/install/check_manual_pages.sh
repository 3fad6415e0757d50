#!/usr/bin/env bash
# The manual pages against the programs: every option a program's --help
# lists is in the OPTIONS of its page and the other way round, the page
# names the program's version, and groff renders it without a warning.
# Also: a wrong command line exits with status 2 where the page says so.
# Usage: check_manual_pages.sh MAN_DIR PROGRAM...
set -uo pipefail
man_dir=$1
shift
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Option names in the option column of --help ("  -l, --link <PATH>  Make...").
help_options() {
  "$1" --help | awk '/^Options:/ { on = 1; next } /^[^ ]/ { on = 0 }
    on && /^  -/ { sub(/^  /, ""); sub(/   .*/, ""); print }' |
    grep -oE '(^|[ ,])--?[A-Za-z0-9][A-Za-z0-9-]*' | tr -d ' ,' | sort -u
}

# Option names in the tags (the line after .TP) of the OPTIONS section.
man_options() {
  awk '/^\.SH / { on = ($0 ~ /^\.SH "?OPTIONS"?$/); next }
    on && /^\.TP/ { tag = 1; next } on && tag { print; tag = 0 }' "$1" |
    sed 's/\\-/-/g' | grep -oE '(^|[ "])--?[A-Za-z0-9][A-Za-z0-9-]*' | tr -d ' "' | sort -u
}

for program in "$@"; do
  name=$(basename "$program")
  page=$man_dir/$name.1
  [ -f "$page" ] || { fail "$name has no manual page $page"; continue; }
  help=$(help_options "$program")
  [ -n "$help" ] || { fail "$name --help lists no options"; continue; }
  man=$(man_options "$page")
  only_help=$(comm -23 <(echo "$help") <(echo "$man"))
  only_man=$(comm -13 <(echo "$help") <(echo "$man"))
  [ -z "$only_help" ] || fail "$name: in --help but not in $page: $(echo $only_help)"
  [ -z "$only_man" ] || fail "$name: in $page but not in --help: $(echo $only_man)"

  version=$("$program" --version | awk '{ print $2 }')
  grep -q "^\.TH .*\"qv742 $version\"" "$page" || fail "$page does not name version $version"

  if command -v groff >/dev/null; then
    warnings=$(LC_ALL=C.UTF-8 groff -Tutf8 -man -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "$page: groff: $warnings"
  fi

  "$program" --no-such-option >/dev/null 2>&1
  status=$?
  case $name in
    qv742-sim) expected=1 ;;   # Qt's own handling, as its page says
    *) expected=2 ;;
  esac
  [ "$status" -eq "$expected" ] || fail "$name --no-such-option exited with $status, not $expected"
  echo "checked $name: $(echo $help)"
done
[ "$failures" -eq 0 ] || exit 1
