#!/bin/sh
# Builds everything and runs every test suite through CTest.
set -eu
cd "$(dirname "$0")"
./scripts/setup.sh
cd build
ctest --output-on-failure -j 2
