#!/usr/bin/env bash
# Installs what the build needs, builds in release mode and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$(nproc)" --target velkaro
exec build-release/velkaro "$@"
