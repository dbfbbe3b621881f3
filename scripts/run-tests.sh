#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test suite offscreen.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing_packages
configure_and_build -DRZ470_TESTS=ON
cd "$BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
