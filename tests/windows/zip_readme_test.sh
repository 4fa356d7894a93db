#!/usr/bin/env bash
# The Windows zip tried as a new user would: tests/windows/zip_readme_test.sh LINUX_CLI WINDOWS_EXE
# (run by scripts/windows-tests.sh, with WINE and WINEPREFIX set; LINUX_CLI is not used).
# Makes the zip (scripts/package.sh windows), unpacks it into a folder with Czech letters in
# its name, checks what is in it, and runs the commands of README.txt's example from cmd.exe,
# with the two folders the user sets there ("set OVARDIX=", "set STUDIE=") given as Czech-named
# folders too. Every command must succeed and leave the tables the README promises.
# Exits 0 when it passes, 77 when it cannot run here.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=${2:?usage: zip_readme_test.sh LINUX_CLI WINDOWS_EXE}
WINE=${WINE:-/usr/lib/wine/wine64}
if [ ! -e "$exe" ]; then
  echo "no $exe"
  exit 77
fi
command -v zip >/dev/null && command -v unzip >/dev/null || { echo "zip or unzip missing (scripts/install-deps.sh)"; exit 77; }
[ -n "${WINEPREFIX:-}" ] || { echo "WINEPREFIX is not set (scripts/windows-tests.sh prepares one)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
# A Unix path as Windows sees it: Wine's Z: drive is the Unix root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

zip=$("$root/scripts/package.sh" windows 2>"$work/package.log" | tail -1)
[ -f "$zip" ] || { cat "$work/package.log"; echo "FAIL: scripts/package.sh windows made no zip"; exit 1; }
echo "zip: $(basename "$zip") ($(du -h "$zip" | cut -f1))"

# What the zip holds: one folder with the program, the example, the guide, the limits, the README.
top=$(basename "$zip" .zip)
unzip -Z1 "$zip" > "$work/list"
for f in bin/ovardix-cli.exe examples/study/study.ovd examples/study/body.txt examples/study/ruzice.txt \
         docs/guide.html docs/guide/mapa.md share/ovardix/imisni_limity.txt README.txt; do
  grep -qx "$top/$f" "$work/list" || fail "the zip has no $top/$f"
done
others=$(grep -v "^$top/" "$work/list" || true)
[ -z "$others" ] || fail "the zip has files outside $top/: $others"

unpacked="$work/Výpočty ovzduší"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
program="$unpacked/$top"
cmp -s "$program/bin/ovardix-cli.exe" "$exe" || fail "the zip's ovardix-cli.exe is not the one built"
readme="$program/README.txt"
[ "$(grep -c $'\r$' "$readme")" -eq "$(wc -l < "$readme")" ] || fail "README.txt has lines without Windows line ends"

# The commands of the example: the indented lines of its section, the user's two "set" lines
# left to the environment below.
tr -d '\r' < "$readme" | awk '/^Vzorová studie$/ { on = 1; next } on && /^-+$/ && seen { exit }
                                on && /^    [^ ]/ { sub(/^    /, ""); print; seen = 1 }' > "$work/commands"
grep -q '^set OVARDIX=' "$work/commands" || fail "README.txt's example sets no OVARDIX folder"
grep -q '^set STUDIE=' "$work/commands" || fail "README.txt's example sets no STUDIE folder"
grep -v '^set OVARDIX=\|^set STUDIE=' "$work/commands" > "$work/steps"
[ "$(grep -c 'ovardix-cli.exe' "$work/steps")" -ge 10 ] || fail "README.txt's example has too few steps: $(cat "$work/steps")"
# cmd.exe reads a batch file in the console's code page: the steps stay ASCII, the Czech
# letters come through the environment.
! LC_ALL=C grep -q '[^ -~]' "$work/steps" || fail "README.txt's example commands are not ASCII"
{
  echo "@echo off"
  while IFS= read -r line; do
    printf '%s\r\nif errorlevel 1 (echo FAILED: %s & exit /b 1)\r\n' "$line" "${line//[<>|&]/}"
  done < "$work/steps"
} > "$work/readme_example.cmd"

study="$work/Studie příklad"
export OVARDIX="$(windows_path "$program")" STUDIE="$(windows_path "$study")"
# The profile of this run beside it, not in the user's.
export OVARDIX_PROFILE="$(windows_path "$work/profil.ini")"
echo "unpacked into $OVARDIX, the study in $STUDIE"
rc=0
(cd "$work" && "$WINE" cmd /c "$(windows_path "$work/readme_example.cmd")") > "$work/run.log" 2>&1 || rc=$?
if [ $rc -ne 0 ] || grep -q '^FAILED:' "$work/run.log"; then
  cat "$work/run.log"
  fail "README.txt's example stopped (exit $rc)"
fi
for f in teren.bin body.bin zdroje.bin theta.bin rocni.dbf rocni.shp rocni.shx rocni_izolinie.shp denni.dbf \
         kontrola_body.txt kontrola_zdroju.txt; do
  [ -s "$study/$f" ] || fail "the example left no $f in the study folder"
done
# The originals in the unpacked folder are untouched: the example works on its copy.
diff -r "$root/examples/study" "$program/examples/study" > /dev/null || fail "the unpacked example study was changed"
ls "$study" | grep -q 'ovdtmp\|ovdjournal\|ovdlock' && fail "temporaries, journals or locks left: $(ls "$study")"

[ $fails -eq 0 ] || exit 1
echo "PASS: unpacked into a Czech-named folder, $(wc -l < "$work/steps") commands of README.txt ran"
