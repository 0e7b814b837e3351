#!/usr/bin/env bash
# The player's zip checked as files, with MinGW's objdump: amber-hollow.exe
# is a console program (SDL's entry shim, Windows CUI) of the zip's processor
# (PE32 for i686, PE32+ for x86_64), and the program and every DLL beside it
# import only Windows' own DLLs and the DLLs the zip ships, so no MinGW
# runtime (libstdc++, libgcc, winpthread) is left to the player to find.
# usage: scripts/windows/pe-check.sh x86_64|i686 ZIP
set -uo pipefail
arch=$1 zip=$2
case $arch in
  x86_64) format=pei-x86-64 magic='020b (PE32+)' ;;
  i686) format=pei-i386 magic='010b (PE32)' ;;
  *) echo "usage: $0 x86_64|i686 ZIP" >&2; exit 2 ;;
esac
# The DLLs every Windows has, that the game and SDL use.
windows_own='^(advapi32|gdi32|imm32|kernel32|msvcrt|ole32|oleaut32|psapi|setupapi|shell32|user32|version|winmm|api-ms-win-[a-z0-9-]+)\.dll$'
objdump=$arch-w64-mingw32-objdump
command -v "$objdump" >/dev/null || { echo "pe-check: $objdump is missing, so the $arch zip cannot be checked" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work" || exit 1
folder=$work/amber-hollow
passed=0 failed=0
shipped_or_windows() { [ -f "$folder/$1" ] || grep -qiE "$windows_own" <<<"$1"; }
check() { if "${@:2}"; then echo "ok: $1"; passed=$((passed + 1)); else echo "FAIL: $1"; failed=$((failed + 1)); fi; }

headers=$("$objdump" -p "$folder/amber-hollow.exe")
subsystem=$(grep '^Subsystem' <<<"$headers" | tr -s ' \t' ' ')
magic_found=$(awk '$1 == "Magic" { print $2, $3 }' <<<"$headers")
echo "amber-hollow.exe: $(grep -o 'file format .*' <<<"$headers"), Magic $magic_found, $subsystem"
check "amber-hollow.exe is $format" grep -q "file format $format\$" <<<"$headers"
check "amber-hollow.exe is ${magic#* }" [ "$magic_found" = "$magic" ]
check "amber-hollow.exe is a console program" grep -q '(Windows CUI)' <<<"$subsystem"
for file in "$folder"/amber-hollow.exe "$folder"/*.dll; do
  mapfile -t imports < <("$objdump" -p "$file" | sed -n 's/^\tDLL Name: //p' | sort -fu)
  echo "$(basename "$file") imports: ${imports[*]}"
  for dll in "${imports[@]}"; do
    check "$(basename "$file") finds $dll (shipped, or Windows' own)" shipped_or_windows "$dll"
  done
done
echo "pe-check $arch: $passed passed, $failed failed"
[ "$failed" = 0 ]
