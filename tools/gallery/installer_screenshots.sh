#!/usr/bin/env bash
# installer_screenshots.sh: the README's pictures of the installer's welcome
# and finish pages, taken under Xvfb in a Wine prefix made for the purpose.
#   bash tools/gallery/installer_screenshots.sh
# Builds the installer through the "package" target first.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cmake --build "$root/build/windows" --target package
setup=$(ls "$root"/build/windows/package/OrvexSetup-*.exe)
out=$root/docs/screenshots
prefix=$(mktemp -d /tmp/orvex-setup-shots.XXXXXX)
trap 'rm -rf "$prefix"' EXIT

shoot() {
    set -eu
    local setup=$1 out=$2 id=""
    wine "$setup" >/dev/null 2>&1 &
    for _ in $(seq 1 60); do
        id=$(xdotool search --onlyvisible --name '^Orvex Gaming Mouse .* Setup' 2>/dev/null | head -1)
        [ -n "$id" ] && break
        sleep 0.5
    done
    [ -n "$id" ] || { echo "the installer did not open" >&2; exit 1; }
    sleep 2
    import -window "$id" "$out/installer-welcome.png"
    # Next, I Agree, Install: each the page's default button.
    for _ in 1 2 3; do
        xdotool windowfocus "$id" key Return
        sleep 1.5
    done
    sleep 5 # the files are copied and the finish page shows
    import -window "$id" "$out/installer-finish.png"
    echo "$out/installer-welcome.png"
    echo "$out/installer-finish.png"
}
export -f shoot
bash "$root/tools/with-wine.sh" "$prefix" bash -c 'shoot "$0" "$1"' "$setup" "$out"
