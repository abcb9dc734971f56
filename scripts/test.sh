#!/usr/bin/env bash
# Builds both builds from scratch-or-incrementally and runs every test:
#   linux preset: unit and integration tests under AddressSanitizer + UBSan
#   windows preset: KXWizard.exe end to end under Wine and Xvfb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test

# The sources keep one format (.clang-format).
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

cmake --preset linux
cmake --build --preset linux
ctest --preset linux

cmake --preset windows
cmake --build --preset windows
ctest --preset windows
