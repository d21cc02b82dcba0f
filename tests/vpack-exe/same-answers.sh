#!/usr/bin/env bash
# vpack.exe under Wine against vpack on Linux. Every sample manifest, and
# ones whose folder, file and manifest names are Cyrillic, Vietnamese or
# Japanese (outside the ANSI code page Wine gets from LANG=C.UTF-8), is
# packed by both into the same bytes;
# list, verify and extract then give the same answers for them. vpack.exe
# is given Windows paths: drive letters and backslashes for the stub, the
# output, the manifest, the Cyrillic manifest's sources and a --var; that
# manifest takes its Cyrillic folder's name from the environment. The one difference allowed in an answer is
# the separator of the installer's own path, which each prints as given.
# Then the signing command through cmd.exe, a stale temporary removed, and
# an output held open by another program.
#   same-answers.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=$(realpath "$1") out=$(realpath -m "$2")
root="$(cd "$(dirname "$0")/../.." && pwd)"
vpack=$build/vpack/vpack exe=$build/win-x86_64/vpack/vpack.exe
fail() { echo "same-answers.sh: $*" >&2; exit 1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
wvpack() { LANG=C.UTF-8 "$build/wine/run64" "$exe" "$@"; }
# The exit status, then stdout and stderr, of one command.
answer() { local status=0; "$@" >"$answer_file.out" 2>"$answer_file.err" || status=$?; echo "$status"; }
# One command given to vpack and, with the arguments after "--", to
# vpack.exe: the same exit status, stdout and stderr, but for the separators
# in the installer's path (under linux/), which each prints as given.
same_answer() {
  local what=$1 linux_arguments=() linux windows
  shift
  while [ "$1" != -- ]; do linux_arguments+=("$1"); shift; done
  shift
  answer_file=$out/linux/answer
  linux=$(answer "$vpack" "${linux_arguments[@]}")
  answer_file=$out/windows/answer
  windows=$(answer wvpack "$@")
  sed -i -e 's|linux\\\\|linux/|g' -e 's|linux\\|linux/|g' "$out/windows/answer.out" "$out/windows/answer.err"
  [ "$linux" = "$windows" ] || fail "$what: vpack exits $linux, vpack.exe $windows"
  for stream in out err; do
    cmp "$out/linux/answer.$stream" "$out/windows/answer.$stream" || fail "$what: std$stream differs"
  done
}

rm -rf "$out"
mkdir -p "$out/linux" "$out/windows"
cp -r "$root/sample/tour" "$out/tour"
bash "$root/scripts/copy-runtime.sh" "$build/win-x86_64" "$out/tour/runtime/try"
# Cyrillic in code page 1251, which the payload is written in.
mkdir -p "$out/tour/Город/Ночь"
printf 'VDL night scene\n' >"$out/tour/Город/Ночь/Звёзды.vdl"
cp "$out/tour/content/VDLStart.vdl" "$out/tour/Город/"
# Its folder comes from the environment, which vpack.exe reads in UTF-16.
export VDL_CONTENT=Город
sed -e 's/^include = "shared.*/&\ncode-page = 1251/' -e 's/^source = "content"/source = "${env:VDL_CONTENT}"/' \
  "$out/tour/run-in-place.toml" >"$out/tour/Город.toml"
# vpack.exe reads it with backslashes in its sources (TOML's literal
# strings), and the shared runtime's folder given with a drive letter.
sed -e "/^source = /{s|/|\\\\|g;s|\"|'|g}" "$out/tour/Город.toml" >"$out/tour/Город.windows"
# Vietnamese in code page 1258, which holds "ế" only as "ê" and a combining
# acute: both split it on packing and join it when they show it.
mkdir -p "$out/tour/Phố/Đêm"
printf 'VDL night scene\n' >"$out/tour/Phố/Đêm/Sao ế.vdl"
cp "$out/tour/content/VDLStart.vdl" "$out/tour/Phố/"
sed -e 's/^include = "shared.*/&\ncode-page = 1258/' -e 's/^source = "content"/source = "Phố"/' \
  "$out/tour/run-in-place.toml" >"$out/tour/Phố.toml"
# Japanese in code page 932, where ソ and 表 end in 0x5C, the byte of '\':
# both step over it by letter, and neither splits a name there.
mkdir -p "$out/tour/ソフト表/十能"
printf 'VDL night scene\n' >"$out/tour/ソフト表/十能/ソ.vdl"
cp "$out/tour/content/VDLStart.vdl" "$out/tour/ソフト表/"
sed -e 's/^include = "shared.*/&\ncode-page = 932/' -e 's/^source = "content"/source = "ソフト表"/' \
  "$out/tour/run-in-place.toml" >"$out/tour/ソフト表.toml"
stub=$(winpath "$build/win-x86_64/app")

for manifest in "$out"/tour/*.toml; do
  name=$(basename "$manifest" .toml)
  linux_options=() windows_options=() windows_manifest=$name.toml
  if [ -f "$out/tour/$name.windows" ]; then
    linux_options=(--var "runtime=$out/tour/runtime")
    windows_options=(--var "runtime=$(winpath "$out/tour/runtime")")
    windows_manifest=$name.windows
  fi
  (cd "$out/linux" && "$vpack" pack "../tour/$name.toml" -o "$name.exe" --stub "$build/win-x86_64/app" \
    "${linux_options[@]}" >"$name.pack.txt") || fail "vpack cannot pack $name"
  (cd "$out/windows" && wvpack pack "..\\tour\\$windows_manifest" -o "$(winpath "$out/windows/$name.exe")" \
    --stub "$stub" "${windows_options[@]}" >"$name.pack.txt") || fail "vpack.exe cannot pack $name"
  # The summary names the output as given.
  summary=$(cat "$out/windows/$name.pack.txt")
  printf '%s\n' "${summary//"$(winpath "$out/windows/")"/}" >"$out/windows/$name.pack.txt"
  cmp "$out/linux/$name.exe" "$out/windows/$name.exe" || fail "$name.exe: vpack.exe wrote other bytes than vpack"
  cmp "$out/linux/$name.pack.txt" "$out/windows/$name.pack.txt" || fail "$name: pack's summaries differ"
  cd "$out"
  # What the payload was written in, for the names the answers show.
  page=1252
  [ "$name" != Город ] || page=1251
  [ "$name" != Phố ] || page=1258
  [ "$name" != ソフト表 ] || page=932
  for command in "list" "list --json" "verify" "verify --json"; do
    same_answer "$command $name.exe" $command "linux/$name.exe" --code-page $page -- \
      $command "linux\\$name.exe" --code-page $page
  done
  "$vpack" extract "linux/$name.exe" -o "extracted/linux/$name" --code-page $page >/dev/null
  wvpack extract "linux\\$name.exe" -o "extracted\\windows\\$name" --code-page $page >/dev/null ||
    fail "vpack.exe cannot extract $name"
  diff -r "extracted/linux/$name" "extracted/windows/$name" || fail "extract $name.exe: the files differ"
done
[ -f "$out/extracted/windows/Город/Ночь/Звёзды.vdl" ] || fail "vpack.exe did not extract the Cyrillic name"
[ -f "$out/extracted/windows/Phố/Đêm/Sao ế.vdl" ] || fail "vpack.exe did not extract the Vietnamese name"
[ -f "$out/extracted/windows/ソフト表/十能/ソ.vdl" ] || fail "vpack.exe did not extract the Japanese name"
# Links, which Windows sees as reparse points: a link to a folder outside
# the project and one back up to its own folder are not entered, and
# extract writes nothing through a link.
mkdir -p "$out/links/outside"
cp -r "$out/tour" "$out/links/tour"
printf 'not for packing\n' >"$out/links/outside/secret.vdl"
ln -s ../../outside "$out/links/tour/content/away"
ln -s . "$out/links/tour/content/loop"
(cd "$out/links/tour" && wvpack pack --dry-run run-in-place.toml --stub "$stub" >plan.txt 2>plan.err) ||
  fail "vpack.exe cannot plan a folder with links: $(cat "$out/links/tour/plan.err")"
for link in away loop; do
  grep -q "symbolic link \"content\\\\$link\" to a folder is not entered" "$out/links/tour/plan.err" ||
    fail "vpack.exe entered the link $link: $(cat "$out/links/tour/plan.err")"
done
! grep -q secret "$out/links/tour/plan.txt" || fail "vpack.exe packed a file from outside the project"
mkdir -p "$out/links/extracted"
ln -s ../outside "$out/links/extracted/music"
answer_file=$out/links/extract
status=$(cd "$out/links" && answer wvpack extract "..\\linux\\run-in-place.exe" -o extracted)
[ "$status" = 1 ] && grep -q "is a link; nothing is extracted through one" "$out/links/extract.err" ||
  fail "vpack.exe extracted through a link: exit $status, $(cat "$out/links/extract.err")"
[ "$(ls "$out/links/outside")" = secret.vdl ] || fail "vpack.exe wrote through a link: $(ls "$out/links/outside")"

# The help, a wrong command line and a missing installer.
for command in "help" "pack" "verify missing.exe"; do
  same_answer "$command" $command -- $command
done
packed=$(ls "$out"/tour/*.toml | wc -l)
# A setting vpack writes itself, which a manifest may not set: refused by
# both alike (a name compared by its address, not its text, let vpack.exe
# write it twice).
sed 's/^CheckDx8 = false/&\nCodePage = 1252/' "$out/tour/run-in-place.toml" >"$out/tour/code-page-set.manifest"
cd "$out/tour"
same_answer "CodePage in [settings]" pack code-page-set.manifest --dry-run -- pack code-page-set.manifest --dry-run

# A signing command that succeeds without signing, run through cmd.exe with
# the quoted paths: refused with the reason, the earlier output kept, and
# the killed pack's temporary of a process that is gone removed.
cd "$out/windows"
cp run-in-place.exe earlier.exe
# Wine gives Windows programs the machine's own name.
stale="earlier.exe.vpack-$(hostname | sed 's/[^A-Za-z0-9]/_/g' | cut -c1-63)-999996-0"
cp run-in-place.exe "$stale"
# A cmd.exe in the folder pack runs in is not the shell it starts.
cp "$exe" cmd.exe
answer_file=$out/windows/signing
status=$(answer wvpack pack "..\\tour\\run-in-place.toml" -o earlier.exe \
  --stub "$stub" --sign-command "copy {in} {out}")
[ "$status" = 1 ] || fail "a signing that does not sign: vpack.exe exits $status, not 1"
grep -q "^vpack: error: --sign-command succeeded but the installer carries no Authenticode signature" signing.err ||
  fail "a signing that does not sign: $(cat signing.err)"
cmp -s earlier.exe run-in-place.exe || fail "a failed signing changed the earlier output"
rm cmd.exe
[ ! -e "$stale" ] || fail "the temporary of a gone process was not removed"

# An output that another program holds open (as Explorer may, for its
# thumbnail) is not replaced: one line says so, and it stays as it was.
cp run-in-place.exe held.exe
"$build/wine/run64" "$build/win-x86_64/tests/vpack-exe/hold_file.exe" held.exe &
holder=$!
for _ in $(seq 200); do [ ! -e held.exe.held ] || break; sleep 0.1; done
[ -e held.exe.held ] || fail "hold_file.exe did not open held.exe"
answer_file=$out/windows/held
status=$(answer wvpack pack "..\\tour\\standalone.toml" -o held.exe --stub "$stub")
rm -f held.exe.held
wait $holder
[ "$status" = 1 ] || fail "an output held open: vpack.exe exits $status, not 1"
held='vpack: error: cannot create "held.exe": another program holds it open, or it is read-only'
grep -qx "$held; it was left as it was" held.err || fail "an output held open: $(cat held.err)"
cmp -s held.exe run-in-place.exe || fail "an output held open was changed"
leftovers=$(ls | grep -F '.vpack-' || true)
[ -z "$leftovers" ] || fail "vpack.exe left temporaries: $leftovers"
echo "same-answers.sh: $packed manifests packed alike, list, verify and extract alike"
