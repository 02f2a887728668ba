#!/usr/bin/env bash
# option_screenshots.sh: the real configuration program, from a scratch
# install folder, under Xvfb:
#   bash tools/with-wine.sh build/windows/wineprefix bash tools/gallery/option_screenshots.sh
# Writes docs/screenshots/main-dialog.png (the buttons page) and
# docs/screenshots/buttons-menu.png (with the function menu of button 1 open).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$root/build/windows/bin
out=$root/docs/screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/config"
cp "$bin/Option.exe" "$bin/lan.dll" "$work/"
cp -r "$bin/skins" "$work/"
printf '[Setting]\r\nCurrentProfile=0\r\nFWVersion=123\r\n' > "$work/config.ini"

cd "$work"
wine Option.exe >/dev/null 2>&1 &
id=""
for _ in $(seq 1 60); do
    id=$(xdotool search --name '^Brennick$' 2>/dev/null | head -1)
    [ -n "$id" ] && break
    sleep 0.5
done
[ -n "$id" ] || { echo "Option.exe did not open" >&2; exit 1; }
sleep 2
xdotool mousemove 0 0
sleep 0.5
import -window "$id" "$out/main-dialog.png"
eval "$(xdotool getwindowgeometry --shell "$id")"
# Button 1 of the buttons page sits at (230, 126) in the dialog.
xdotool mousemove $((X + 300)) $((Y + 140)) click 1
sleep 1.5
import -window root -crop "$((WIDTH + 40))x$((HEIGHT))+$X+$Y" +repage "$out/buttons-menu.png"
xdotool key Escape
sleep 0.3

xdotool windowclose "$id" 2>/dev/null || true
for f in main-dialog buttons-menu; do
    /usr/bin/python3 - "$out/$f.png" <<'PY'
import sys
from PIL import Image
Image.open(sys.argv[1]).convert("RGB").quantize(colors=256, method=Image.FASTOCTREE).save(sys.argv[1], optimize=True)
PY
done
echo "wrote $out/main-dialog.png $out/buttons-menu.png"
