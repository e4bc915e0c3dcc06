#!/usr/bin/env bash
# Builds the third-party libraries of the Windows build for x86_64-w64-mingw32:
# cJSON, libxml2, GoogleTest and the argument parser, from the Debian source
# packages of the versions installed for Linux, each with its own build system.
#
#   scripts/windows-deps.sh [<work folder>]     (default: build/mingw-deps)
#
# Sources land in <work>/src, the finished libraries in <work>/prefix, which
# the mingw preset uses. A prefix built from the same versions is kept, so a
# second run costs seconds. Nothing here is ever committed.
set -euo pipefail
cd "$(dirname "$0")/.."

work="$(realpath -m "${1:-build/mingw-deps}")"
prefix="$work/prefix"
toolchain="$PWD/cmake/mingw-w64.cmake"
jobs="${ES_JOBS:-2}"

# Binary package of the Linux build -> its source package name and version.
sources=()
for binary in libcjson-dev libxml2-dev libgtest-dev libcli11-dev; do
  sources+=("$(dpkg-query -W -f='${source:Package}=${source:Version}' "$binary")")
done
stamp="$prefix/.versions"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "${sources[*]}" ]; then
  echo "windows-deps: $prefix is current (${sources[*]})"
  exit 0
fi

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# apt-get source needs a deb-src entry for every suite the machine installs from.
have_deb_src() {
  grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! have_deb_src; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      as_root tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  else
    grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      as_root tee /etc/apt/sources.list.d/debian-src.list >/dev/null
  fi
  echo "windows-deps: added the source entries of the installed suites"
  as_root apt-get update -qq
fi

mkdir -p "$work/src"
started=$SECONDS
rm -rf "$prefix" "$work/build"
mkdir -p "$prefix"

cmake_build() {  # cmake_build <name> <source folder> <cache options...>
  local name="$1" src="$2"
  shift 2
  cmake -S "$src" -B "$work/build/$name" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DES_MINGW_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
  cmake --build "$work/build/$name" -j "$jobs" >/dev/null
  cmake --install "$work/build/$name" >/dev/null
  echo "windows-deps: $name built"
}

for source in "${sources[@]}"; do
  name="${source%%=*}"
  upstream="${source#*=}"
  upstream="${upstream#*:}"
  upstream="${upstream%-*}"
  src="$work/src/$name-$upstream"
  [ -d "$src" ] || (cd "$work/src" && apt-get source -qq --only-source "$source" >/dev/null)
  [ -d "$src" ] || { echo "windows-deps: $source did not unpack to $src" >&2; exit 1; }
  case "$name" in
    cjson)
      cmake_build cjson "$src" -DBUILD_SHARED_LIBS=ON -DENABLE_CJSON_TEST=OFF \
        -DENABLE_CJSON_UTILS=OFF -DENABLE_CUSTOM_COMPILER_FLAGS=OFF ;;
    libxml2)
      # Lean: documents are parsed from memory; no converters, compression or I/O.
      cmake_build libxml2 "$src" -DBUILD_SHARED_LIBS=ON \
        -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_ICU=OFF -DLIBXML2_WITH_ZLIB=OFF \
        -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_HTTP=OFF \
        -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_PROGRAMS=OFF \
        -DLIBXML2_WITH_THREADS=ON ;;
    googletest)
      cmake_build googletest "$src" -DBUILD_GMOCK=OFF -DBUILD_SHARED_LIBS=OFF ;;
    cli11)
      cmake_build cli11 "$src" -DCLI11_BUILD_TESTS=OFF -DCLI11_BUILD_EXAMPLES=OFF \
        -DCLI11_BUILD_DOCS=OFF ;;
  esac
done

echo "${sources[*]}" >"$stamp"
echo "windows-deps: ${sources[*]} built into $prefix in $((SECONDS - started)) s"
