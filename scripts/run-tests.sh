#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test suite offscreen; then the same
# suites again under the sanitizers, with the fuzz targets run briefly (run-sanitized-tests.sh).
RZ470_PRIVATE_RUNTIME=1
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing_packages
configure_and_build -DRZ470_TESTS=ON
(
    cd "$BUILD_DIR"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
)
if [ "${RZ470_SKIP_SANITIZED:-0}" != 1 ]; then
    bash "$ROOT/scripts/run-sanitized-tests.sh"
fi
