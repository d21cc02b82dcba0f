# Sourced: runs a command under a glibc locale, which Wine takes the system's
# code page from. The locale is made once under LOCALES (no root needed) and
# named with LOCPATH.
#   under_locale LOCALES LOCALE OUT COMMAND... (the output into OUT; the
#   command's status)
under_locale() {
  _locales=$1 _locale=$2 _out=$3
  shift 3
  mkdir -p "$_locales"
  [ -d "$_locales/$_locale.UTF-8" ] || localedef -i "$_locale" -f UTF-8 "$_locales/$_locale.UTF-8"
  LOCPATH="$_locales" LC_ALL="$_locale.UTF-8" "$@" >"$_out" 2>&1
}
