#!/usr/bin/env bash
# Makes sure the Debian packages a task needs are installed.
#   scripts/deps.sh test   everything to build both builds and run every test
#   scripts/deps.sh run    everything to build and run the wizard under Wine
# As root, missing packages are installed with apt-get; otherwise the one apt-get line
# that installs them is printed and the script fails.
set -euo pipefail

common=(cmake make g++ pkg-config libcurl4-openssl-dev
        g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
        wine wine64 xvfb xauth x11-utils imagemagick python3 fonts-wqy-microhei)
case "${1:-test}" in
    test) wanted=("${common[@]}" libgtest-dev libgmock-dev libbenchmark-dev git clang-format) ;;
    run) wanted=("${common[@]}") ;;
    *) echo "usage: $0 [test|run]" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
