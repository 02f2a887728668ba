#!/usr/bin/env bash
# run_installer_tests.sh BUILD_DIR
# Builds the installer through the "package" target, as a user would, and
# runs installer_tests.exe in a Wine prefix of its own, booted fresh for this
# run and removed after it, so nothing of an earlier install or of the other
# tests can help or hinder. Needs DISPLAY (tools/with-wine.sh provides it).
set -eu
build=$(realpath "$1")
cmake --build "$build" --target package
setup=$(ls "$build"/package/OrvexSetup-*.exe)

prefix=$(mktemp -d "${TMPDIR:-/tmp}/orvex-setup-prefix.XXXXXX")
export WINEPREFIX="$prefix" WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
}
trap cleanup EXIT
wineboot -i </dev/null >/dev/null 2>&1
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
wine cmd.exe /c exit </dev/null >/dev/null 2>&1

export GM_SETUP=$(winepath -w "$setup")
export GM_STAGE=$(winepath -w "$build/package/stage")
wine "$build/bin/installer_tests.exe" "$@"
