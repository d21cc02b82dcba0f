# Sourced: runs a command under a glibc locale, which Wine takes the system's
# code page from. The locale is made once under LOCALES (no root needed) and
# named with LOCPATH.
#   under_locale LOCALES LOCALE OUT COMMAND... (the output into OUT; the
#   command's status)
under_locale() {
  _locales=$1 _locale=$2 _out=$3
  shift 3
  make_locale "$_locales" "$_locale"
  LOCPATH="$_locales" LC_ALL="$_locale.UTF-8" "$@" >"$_out" 2>&1
}

# make_locale LOCALES LOCALE: the locale made under LOCALES, once.
make_locale() {
  mkdir -p "$1"
  [ -d "$1/$2.UTF-8" ] || localedef -i "$2" -f UTF-8 "$1/$2.UTF-8"
}

# passed_one OUT SCRIPT WHAT: shows the run's output; false unless exactly
# one test ran and passed (a skipped one passes without having seen WHAT).
passed_one() {
  cat "$1"
  grep -q "\[  PASSED  \] 1 test" "$1" && return 0
  echo "$2: the test of $3 did not run and pass" >&2
  return 1
}
