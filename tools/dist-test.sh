#!/usr/bin/env bash
# Checks the release archive as an integrator gets it:
#   tools/dist-test.sh ARCHIVE
# unpacks it, compares its listing, reads the shipped files' export and import
# tables (and, for 32-bit, the calling convention), and lists the simulated
# cameras with the 64-bit x64/kavrix-host.exe under Wine.
set -euo pipefail
archive=$(realpath "${1:?usage: tools/dist-test.sh ARCHIVE}")
top=$(cd "$(dirname "$0")/.." && pwd)
work="${archive%.zip}.check"
rm -rf "$work"
mkdir -p "$work/unpacked" "$work/system"
trap 'rm -rf "$work"' EXIT
unpacked="$work/unpacked"
(cd "$unpacked" && cmake -E tar xf "$archive")

fail() { echo "dist-test: $*" >&2; exit 1; }

expected="INSTALL.txt
README.md
inc/kavrix.h
x64/Kavrix.dll
x64/gige/tli.dll
x64/kavrix-describe.exe
x64/kavrix-host.exe
x64/simulator/tli.dll
x86/Kavrix.dll
x86/gige/tli.dll
x86/kavrix-describe.exe
x86/kavrix-host.exe
x86/simulator/tli.dll"
listing=$(cd "$unpacked" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$listing" = "$expected" ] || fail "the archive holds
$listing
instead of
$expected"
grep -q "^Kavrix camera driver [0-9.]*:" "$unpacked/INSTALL.txt" || fail "INSTALL.txt names no version"

check() { cmake "$@" >/dev/null || fail "check failed: $*"; }
for pair in "x64 x86_64-w64-mingw32" "x86 i686-w64-mingw32"; do
  read -r folder triple <<< "$pair"
  objdump="$triple-objdump"
  check -DLIBRARY="$unpacked/$folder/Kavrix.dll" -DTOOL="$objdump" -DWINDOWS=1 \
        -DEXPECTED="$top/src/api/kavrix.def" -P "$top/tests/check-exports.cmake"
  check -DOBJDUMP="$objdump" -DFOLDER="$unpacked/$folder" \
        -DSHIPPED=Kavrix.dll,kavrix-host.exe,kavrix-describe.exe -P "$top/tests/check-imports.cmake"
  for producer in simulator gige; do
    check -DOBJDUMP="$objdump" -DFOLDER="$unpacked/$folder/$producer" \
          -DSHIPPED=tli.dll -P "$top/tests/check-imports.cmake"
  done
done
check -DOBJDUMP=i686-w64-mingw32-objdump -DLIBRARY="$unpacked/x86/Kavrix.dll" -DCOUNT=18 \
      -P "$top/tests/check-convention.cmake"
# The simulator offers none of the optional operations; the GigE Vision
# producer offers them all.
check -DOBJDUMP=i686-w64-mingw32-objdump -DLIBRARY="$unpacked/x86/simulator/tli.dll" \
      -DSTDCALL_FROM="$top/tl/include/TLI.h" -DOPTIONAL=GCGetLastError,DSGetInfo,DSGetBufferInfo -P "$top/tests/check-convention.cmake"
check -DOBJDUMP=i686-w64-mingw32-objdump -DLIBRARY="$unpacked/x86/gige/tli.dll" \
      -DSTDCALL_FROM="$top/tl/include/TLI.h" -P "$top/tests/check-convention.cmake"

# Wine's drive Z: is the root of the file system; the paths are given to the
# Windows program as Windows paths, as an integrator would type them.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
output=$(cd "$unpacked/x64" &&
         KAVRIX_TLI=$(windows_path "$unpacked/x64/simulator/tli.dll") \
         "$top/cmake/wine-run.sh" kavrix-host.exe --system-path "$(windows_path "$work/system")" list 2>&1 | tr -d '\r') ||
  fail "x64/kavrix-host.exe list failed:
$output"
for line in "cameras: 2" "  Kavrix KX-1300-60gm (21810742)" "  Kavrix KX-5000-24gm (21810743)"; do
  grep -qxF -- "$line" <<< "$output" || fail "x64/kavrix-host.exe list printed no \"$line\":
$output"
done
echo "dist-test: $(basename "$archive"): listing, exports, imports and calling convention as expected;"
echo "dist-test: x64/kavrix-host.exe lists the simulator's two cameras"
