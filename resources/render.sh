#!/usr/bin/env bash
# Renders the hand-written SVG sources in this folder into png/.
# Needs rsvg-convert (Debian/Ubuntu package librsvg2-bin). Output is
# deterministic: rsvg-convert writes no timestamps or other metadata.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$here/png"

command -v rsvg-convert >/dev/null 2>&1 || {
    echo "render.sh: rsvg-convert not found (install librsvg2-bin)" >&2
    exit 1
}

mkdir -p "$out"

render() { # render SVG-NAME SIZE
    local name="$1" size="$2"
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$out/$name-$size.png" "$here/$name.svg"
}

# 32-unit pictures.
for name in clipboard folder "done" newfolder desktop mydocuments; do
    for size in 32 64 96; do
        render "$name" "$size"
    done
done
render folder 16

# 16-unit directory-list icons.
for name in folder-open folder-closed; do
    for size in 16 32 48; do
        render "$name" "$size"
    done
done

# The desktop icon in the hicolor theme's layout, for the Linux package: every size a menu or
# launcher commonly asks for, beside the SVG itself as the scalable one.
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$here/hicolor/${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$here/hicolor/${size}x${size}/apps/quenbrook.png" "$here/clipboard.svg"
done

# Windows icons, packed from PNGs rendered into a scratch folder. Every icon holds the sizes
# Windows draws itself (16, 20, 24, 28, 32, 40, 48, 56, 64, 72 and 256: title bar, taskbar,
# Alt+Tab and Explorer at 100% to 225%) so none of them is scaled; the picture buttons, 32 px at
# 100%, also hold 80 and 96 for 250% and 300%.
ico="$here/ico"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$ico"
pack() { # pack SVG-NAME SIZE...
    local name="$1" size pngs=()
    shift
    for size in "$@"; do
        rsvg-convert --width "$size" --height "$size" --format png \
            --output "$scratch/$name-$size.png" "$here/$name.svg"
        pngs+=("$scratch/$name-$size.png")
    done
    python3 "$here/make-ico.py" "$ico/$name.ico" "${pngs[@]}"
}
windows_sizes=(16 20 24 28 32 40 48 56 64 72 256)
pack clipboard "${windows_sizes[@]}" 96 128
pack folder "${windows_sizes[@]}" 96
for name in "done" newfolder desktop mydocuments; do
    pack "$name" "${windows_sizes[@]}" 80 96
done
for name in folder-open folder-closed; do
    pack "$name" "${windows_sizes[@]}"
done

echo "render.sh: wrote $(find "$out" "$here/hicolor" -name '*.png' | wc -l) PNGs to $out" \
    "and $here/hicolor" \
    "and $(find "$ico" -name '*.ico' | wc -l) icons to $ico"
