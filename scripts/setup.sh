#!/usr/bin/env bash
# Installs what building and testing need, from Debian packages, when missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config ccache
  libcjson-dev libxml2-dev libgtest-dev libbenchmark-dev libcli11-dev
  python3 python3-pytest python3-setuptools python3-pip
  help2man bash-completion
  libcpp-httplib-dev chromium chromium-driver python3-selenium
)

# The Windows build: cross compilers, Wine to run its tests, Debian's source
# tools for its libraries. ES_WINDOWS=0 leaves it out.
windows="${ES_WINDOWS:-1}"
if [ "$windows" != 0 ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
echo "setup: all build and test packages are present"
if [ "$windows" != 0 ]; then
  "$(dirname "$0")/windows-deps.sh"
fi
