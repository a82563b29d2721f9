#!/usr/bin/env bash
# The release archive of `make dist`, from the two Windows builds:
#   tools/dist.sh BUILD_FOLDER OUTPUT_FOLDER   (e.g. tools/dist.sh build build/dist)
# makes OUTPUT_FOLDER/kavrix-VERSION.zip with the version of the CMake project.
# The producers go into folders of their own, gige/ and simulator/: beside
# Kavrix.dll the simulator would stand in for the real cameras' producer.
set -euo pipefail
build=${1:?usage: tools/dist.sh BUILD_FOLDER OUTPUT_FOLDER}
output=${2:?usage: tools/dist.sh BUILD_FOLDER OUTPUT_FOLDER}
top=$(cd "$(dirname "$0")/.." && pwd)

cached() { sed -n "s/^$2:[A-Z]*=//p" "$build/$1/CMakeCache.txt"; }

version=$(cached mingw CMAKE_PROJECT_VERSION)
if [ -z "$version" ] || [ "$version" != "$(cached mingw32 CMAKE_PROJECT_VERSION)" ]; then
  echo "dist: the two Windows builds are of different versions; configure them afresh" >&2
  exit 1
fi

name="kavrix-$version"
stage="$output/$name"
rm -rf "$stage" "$output/$name.zip"
mkdir -p "$stage/inc"

# Windows editors of older systems show a text with bare line feeds as one line.
crlf() { sed 's/\r*$/\r/' "$1" > "$2"; }

for pair in "mingw x64" "mingw32 x86"; do
  read -r preset folder <<< "$pair"
  bin="$build/$preset/bin"
  strip=$(cached "$preset" CMAKE_STRIP)
  mkdir -p "$stage/$folder/simulator" "$stage/$folder/gige"
  # Debug information is left out; the symbols stay for stack traces.
  for file in Kavrix.dll kavrix-host.exe kavrix-describe.exe; do
    "$strip" --strip-debug -o "$stage/$folder/$file" "$bin/$file"
  done
  "$strip" --strip-debug -o "$stage/$folder/simulator/tli.dll" "$bin/tli.dll"
  "$strip" --strip-debug -o "$stage/$folder/gige/tli.dll" "$bin/gige/tli.dll"
done

cp "$top/inc/kavrix.h" "$stage/inc/"
crlf "$top/README.md" "$stage/README.md"
sed "s/@VERSION@/$version/" "$top/tools/dist/INSTALL.txt" > "$stage/INSTALL.tmp"
crlf "$stage/INSTALL.tmp" "$stage/INSTALL.txt"
rm "$stage/INSTALL.tmp"

(cd "$stage" && cmake -E tar cf "../$name.zip" --format=zip INSTALL.txt README.md inc x64 x86)
rm -rf "$stage"
echo "dist: $output/$name.zip"
