#!/usr/bin/env bash
# run_installer_tests.sh BUILD_DIR [TEST ARGS...]
# Builds the installer through the "package" target, as a user would, and
# runs installer_tests.exe in a Wine prefix of its own, booted fresh for this
# run and removed after it, so nothing of an earlier install or of the other
# tests can help or hinder. The prefix gets its own display and wineserver
# too (tools/with-wine.sh): two prefixes on one display meet in its
# selections, and a test process of the other prefix, ending just as this
# one's programs were killed, then took many seconds to end.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
shift
cmake --build "$build" --target package
setup=$(ls "$build"/package/OrvexSetup-*.exe)

prefix=$(mktemp -d "${TMPDIR:-/tmp}/orvex-setup-prefix.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
bash "$here/../../tools/with-wine.sh" "$prefix" bash -c '
    export GM_SETUP=$(winepath -w "$1") GM_STAGE=$(winepath -w "$2")
    shift 2
    wine "$@"' _ "$setup" "$build/package/stage" "$build/bin/installer_tests.exe" "$@"
