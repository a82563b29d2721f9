#!/usr/bin/env bash
# Installs what the builds need on a Debian 12 machine and builds the MinGW
# dependencies that Debian does not package (pugixml, minizip, GoogleTest),
# once for 64-bit and once for 32-bit Windows, each into its own prefix.
# The GigE Vision lab (tools/gige-lab.sh) needs Aravis's fake camera and tools,
# network namespaces, nftables, and GNU time for the receivers' CPU times.
# Quick when everything is already in place.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
deps="$top/.deps"
stamp_text="pugixml minizip googletest boost v1"

# Triple, prefix under .deps, toolchain file: one line per Windows bitness.
mingw_targets=(
  "x86_64-w64-mingw32 mingw mingw-w64-x86_64.cmake"
  "i686-w64-mingw32 mingw32 mingw-w64-i686.cmake"
)

packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev xz-utils
  libboost-dev zlib1g-dev libminizip-dev libpugixml-dev
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine64
  locales
  iproute2 procps
  xvfb xauth x11-apps imagemagick
  aravis-tools aravis-tools-cli nftables iproute2 util-linux time
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

apt_updated=0
apt_update() {
  if [ "$apt_updated" -eq 0 ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    apt_updated=1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt_update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A decimal-comma locale, so the tests can show that numbers are read and
# written the same whatever locale the host runs in.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

# Source entries are derived from the binary entries that serve the packages we
# rebuild, so whichever mirror the machine uses also serves the sources.
ensure_deb_src() {
  if apt-get source --print-uris pugixml minizip >/dev/null 2>&1; then
    return
  fi
  local uris list="/etc/apt/sources.list.d/kavrix-deb-src.sources"
  rm -f "$deps/deb-src.list.tmp"
  uris=$(apt-cache policy libpugixml-dev libminizip-dev |
         awk '$1 ~ /^[0-9]+$/ && $2 ~ /:\/\// {print $2}' | sort -u)
  [ -n "$uris" ] || { echo "setup: no apt source serves pugixml and minizip" >&2; exit 1; }
  {
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -e "$f" ] && [ "$f" != "$list" ] || continue
      awk -v uris="$uris" '
        BEGIN { n = split(uris, u, "\n"); for (i = 1; i <= n; i++) want[u[i]] = 1 }
        function flush() {
          if (stanza != "" && isdeb && hit) printf "%s\n", stanza
          stanza = ""; isdeb = 0; hit = 0
        }
        /^[[:space:]]*$/ { flush(); next }
        /^Types:/ { isdeb = ($0 ~ /(^|[[:space:]])deb([[:space:]]|$)/); sub(/:.*/, ": deb-src") }
        /^URIs:/ { for (i = 2; i <= NF; i++) { v = $i; sub(/\/$/, "", v); if (v in want) hit = 1 } }
        /^Enabled:[[:space:]]*no/ { isdeb = 0 }
        { stanza = stanza $0 "\n" }
        END { flush() }' "$f"
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [ -e "$f" ] || continue
      awk -v uris="$uris" '
        BEGIN { n = split(uris, u, "\n"); for (i = 1; i <= n; i++) want[u[i]] = 1 }
        $1 == "deb" {
          hit = 0
          for (i = 2; i <= NF; i++) { v = $i; sub(/\/$/, "", v); if (v in want) hit = 1 }
          if (hit) { sub(/^deb/, "deb-src"); print > "/dev/stderr" }
        }' "$f" 2>>"$deps/deb-src.list.tmp"
    done
  } > "$deps/deb-src.sources.tmp"
  "${sudo_cmd[@]}" cp "$deps/deb-src.sources.tmp" "$list"
  if [ -s "$deps/deb-src.list.tmp" ]; then
    "${sudo_cmd[@]}" cp "$deps/deb-src.list.tmp" /etc/apt/sources.list.d/kavrix-deb-src.list
  fi
  rm -f "$deps/deb-src.sources.tmp" "$deps/deb-src.list.tmp"
  apt_updated=0
  apt_update
}

# The sources once for both bitnesses; a fetch cut short is fetched again.
fetch_sources() {
  [ -f "$deps/src/.fetched" ] && return
  rm -rf "$deps/src"
  mkdir -p "$deps/src"
  ensure_deb_src
  (cd "$deps/src" && apt-get source -qq pugixml minizip >/dev/null)
  touch "$deps/src/.fetched"
}

# build_mingw_deps TRIPLE PREFIX TOOLCHAIN
build_mingw_deps() {
  local triple=$1 prefix=$2 toolchain="$top/cmake/$3"
  local src="$deps/src" build="$deps/build-$1"
  rm -rf "$prefix" "$build"
  mkdir -p "$prefix/include" "$prefix/lib" "$build"
  fetch_sources

  local pugi mz
  pugi=$(find "$src" -maxdepth 1 -type d -name 'pugixml-*' | head -n 1)
  mz=$(find "$src" -maxdepth 1 -type d -name 'minizip-*' | head -n 1)

  cmake -S "$pugi" -B "$build/pugixml" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DPUGIXML_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build/pugixml" >/dev/null
  cmake --install "$build/pugixml" >/dev/null

  # minizip's unzip reader only: the driver reads archives from memory.
  mkdir -p "$prefix/include/minizip" "$build/minizip"
  for c in ioapi unzip; do
    "$triple-gcc-posix" -O2 -c "$mz/$c.c" -o "$build/minizip/$c.o"
  done
  "$triple-ar" rcs "$prefix/lib/libminizip.a" "$build/minizip/ioapi.o" "$build/minizip/unzip.o"
  cp "$mz/ioapi.h" "$mz/unzip.h" "$prefix/include/minizip/"

  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$build/googletest" >/dev/null
  cmake --install "$build/googletest" >/dev/null

  # boost is header-only for what the driver uses; the MinGW build must not see
  # the rest of /usr/include, so it gets a link to boost alone.
  ln -sfn /usr/include/boost "$prefix/include/boost"

  rm -rf "$build"
  echo "$stamp_text" > "$prefix/.stamp"
}

mkdir -p "$deps"
for target in "${mingw_targets[@]}"; do
  read -r triple dir toolchain <<< "$target"
  prefix="$deps/$dir"
  if [ ! -f "$prefix/.stamp" ] || [ "$(cat "$prefix/.stamp")" != "$stamp_text" ]; then
    echo "setup: building the MinGW dependencies for $triple into $prefix"
    build_mingw_deps "$triple" "$prefix" "$toolchain"
  fi
done
rm -rf "$deps/src"

# A Wine prefix of the project's own, made once, so test runs do not pay for it.
export WINEPREFIX="$deps/wine"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "setup: creating the Wine prefix"
  WINEDEBUG=-all wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
