#!/usr/bin/env bash
# page_screenshots.sh: one screenshot per setting page, taken from page_shots
# under Xvfb:
#   bash tools/with-wine.sh build/windows/wineprefix bash tools/gallery/page_screenshots.sh
# Writes docs/screenshots/page-*.png; outside the page's outline is transparent.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$root/build/windows/bin
out=$root/docs/screenshots
mkdir -p "$out"
cd "$bin"

# shot NAME MASK_BMP|- WIDTHxHEIGHT PAGE_SHOTS_ARGS...
shot() {
    local name=$1 mask=$2 size=$3; shift 3
    wine page_shots.exe "$@" --seconds 6 >/dev/null 2>&1 &
    local pid=$!
    sleep 4
    import -window root -crop "${size}+40+40" +repage "/tmp/page-shot-$name.png"
    wait "$pid" || true
    /usr/bin/python3 - "/tmp/page-shot-$name.png" "$mask" "$out/$name.png" <<'PY'
import sys
from PIL import Image
shot = Image.open(sys.argv[1]).convert("RGB")
if sys.argv[2] != "-":
    mask = Image.open("skins/" + sys.argv[2]).convert("L").point(lambda v: 0 if v == 255 else 255)
    shot.putalpha(mask)
# A 256-colour palette keeps the files small enough for the repository.
shot.quantize(colors=256, method=Image.FASTOCTREE).save(sys.argv[3], optimize=True)
PY
    rm -f "/tmp/page-shot-$name.png"
}

shot page-lighting color_page_mask.bmp 608x424 lighting
shot page-sensitivity sensitivity_page_mask.bmp 608x424 sensitivity
shot page-system system_page_mask.bmp 608x424 system
shot page-advance advance_page_mask.bmp 608x424 advance
# The colour chooser reaches below the page, so this one is not cut to it.
shot page-sensitivity-chooser - 608x440 sensitivity --chooser
