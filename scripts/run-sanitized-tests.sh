#!/usr/bin/env bash
# The test suites a second time, built with Clang under AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer in a folder of their own, with each fuzz target run briefly over its seeds.
# Any finding fails the run. scripts/run-tests.sh runs this after the regular suites.
RZ470_PRIVATE_RUNTIME=1
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing_packages "${SANITIZED_TEST_PACKAGES[@]}"
BUILD_DIR="${RZ470_SANITIZE_BUILD_DIR:-$BUILD_DIR-sanitize}"
# -O1 keeps the stack traces readable and the build quick; line tables are all a report needs.
CC=clang CXX=clang++ configure_and_build -DRZ470_TESTS=ON -DRZ470_SANITIZE=ON -DRZ470_FUZZ=ON \
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" -- rz470_test_suites rz470_fuzz_targets

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

cd "$BUILD_DIR"
# What checks the build tree, the install layout, the Windows sources and the headless session is
# the same with or without sanitizers and ran in the regular pass.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" \
    -E '^(layering_.*|install_layout|windows_sources_mingw|build_defaults|headless_session_private)$'
