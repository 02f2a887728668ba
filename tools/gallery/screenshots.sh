#!/usr/bin/env bash
# screenshots.sh: the README screenshots, taken from the gallery under Xvfb.
#   bash tools/with-wine.sh build/windows/wineprefix bash tools/gallery/screenshots.sh
# Writes docs/screenshots/*.png; the window outline becomes transparent.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$root/build/windows/bin
out=$root/docs/screenshots
mkdir -p "$out"
cd "$bin"

# shot NAME MASK_BMP GALLERY_ARGS...
shot() {
    local name=$1 mask=$2; shift 2
    local size
    size=$(/usr/bin/python3 -c "from PIL import Image; print('%dx%d' % Image.open('skins/$mask').size)")
    wine gallery.exe "$@" --seconds 6 >/dev/null 2>&1 &
    local pid=$!
    sleep 4
    import -window root -crop "${size}+40+40" +repage "/tmp/gallery-$name.png"
    wait "$pid" || true
    /usr/bin/python3 - "/tmp/gallery-$name.png" "skins/$mask" "$out/$name.png" <<'PY'
import sys
from PIL import Image
shot = Image.open(sys.argv[1]).convert("RGB")
mask = Image.open(sys.argv[2]).convert("L").point(lambda v: 0 if v == 255 else 255)
shot.putalpha(mask)
# A 256-colour palette keeps the files small enough for the repository.
shot.quantize(colors=256, method=Image.FASTOCTREE).save(sys.argv[3], optimize=True)
PY
    rm -f "/tmp/gallery-$name.png"
}

shot reset-warning reset_warn_mask.bmp skins\\skin_reset_warn.ini
