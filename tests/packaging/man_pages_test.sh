#!/usr/bin/env bash
# The manual pages say what the programs' --help says: the same options and
# the same exit statuses; --version names the project version; the pages
# render without a warning.
#   man_pages_test.sh BIN_DIR MAN_DIR VERSION
set -uo pipefail
bin=$1 man=$2 version=$3
status=0
fail() { echo "FAIL: $*"; status=1; }

# "-x" and "--name" at the start of the lines of a --help section.
help_words() { "$bin/$1" --help | sed -n "/^$2/,/^\$/p" | grep -oE -- '^ +(-[a-z], )?--?[a-z-]*|^ +[0-9] ' |
  grep -oE -- '--?[a-z-]*|[0-9]' | sort -u; }
# The same from the tags (.TP lines) of a man page section.
man_words() { sed -n "/^\\.SH $2\$/,/^\\.SH /p" "$man/$1.1" | sed -n '/^\.TP/{n;p}' | sed 's/\\-/-/g; s/^\.[A-Z]* //' |
  grep -oE -- '-{1,2}[a-z-]*|^[0-9]$' | sort -u; }

for prog in kvn kvn-rate; do
  [ -x "$bin/$prog" ] || { fail "$bin/$prog missing"; continue; }
  diff <(help_words "$prog" Options) <(man_words "$prog" OPTIONS) >/dev/null ||
    fail "$prog: options of --help (<) and the man page (>) differ:" "$(diff <(help_words "$prog" Options) <(man_words "$prog" OPTIONS))"
  diff <(help_words "$prog" 'Exit status') <(man_words "$prog" 'EXIT STATUS') >/dev/null ||
    fail "$prog: exit statuses of --help and the man page differ"
  [ "$(help_words "$prog" Options | wc -l)" -ge 2 ] || fail "$prog: no options read from --help"
  [ "$("$bin/$prog" --version)" = "$prog $version" ] || fail "$prog --version is not \"$prog $version\""
  warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$man/$prog.1" 2>&1)
  [ -z "$warnings" ] || fail "$prog.1 renders with warnings: $warnings"
done
exit $status
