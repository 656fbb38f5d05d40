#!/bin/sh
# Draws the skin images (PNG) with ImageMagick. Every glyph is drawn on a
# 64-unit grid at four times the target size and scaled down, which gives
# clean anti-aliased edges. Run from anywhere; writes into skins/.
#   skins/src/make-images.sh
set -e
OUT=$(cd "$(dirname "$0")/.." && pwd)
IM=${IM:-/usr/bin/convert}

ACCENT='#1f6feb'      # the one accent colour (theme "accent")
GREEN='#16a34a'
RED='#e5484d'
INK='#1f2937'
MUTED='#8a94a6'
WHITE='#ffffff'

HANDSET="M22 18c2-1 4 0 5 2l3 6c1 2 0 3-1 4l-2 2c2 4 5 7 9 9l2-2c1-1 2-2 4-1l6 3c2 1 3 3 2 5l-2 4c-1 2-3 3-5 3-14-1-25-12-26-26 0-2 1-4 3-5z"

# glyph NAME SIZE [WxH] DRAW-ARGS...: transparent canvas, 64-unit grid
glyph() {
  name=$1; w=$2; h=$3; shift 3
  s4w=$((w * 4)); s4h=$((h * 4))
  "$IM" -size ${s4w}x${s4h} xc:none -define png:exclude-chunks=date,time \
    "$@" -resize ${w}x${h} -strip "$OUT/$name"
}
sc() { echo "$(( $1 * 4 ))" | awk -v s="$1" '{printf "%.4f", s*4/64}'; }

# stroke-style glyph: COLOR WIDTH-in-units PRIMITIVES
line_glyph() {
  name=$1; size=$2; color=$3; sw=$4; prims=$5
  k=$(sc "$size")
  glyph "$name" "$size" "$size" -fill none -stroke "$color" -strokewidth "$(awk -v a="$sw" -v k="$k" 'BEGIN{print a*k}')" \
    -draw "stroke-linecap round stroke-linejoin round scale $k,$k $prims"
}

# --- application icon and logo ------------------------------------------
for px in 256 64 32; do
  k=$(sc "$px")
  glyph "app_$px.png" "$px" "$px" -fill "$ACCENT" -draw "scale $k,$k roundrectangle 3,3 61,61 15,15" \
    -fill "$WHITE" -draw "scale $k,$k translate 1,1 path '$HANDSET'"
done
# login header logo: white handset in a translucent white disc
k=$(sc 72)
glyph logo.png 72 72 -fill '#ffffff33' -draw "scale $k,$k circle 32,32 32,2" \
  -fill "$WHITE" -draw "scale $k,$k translate 0,1 path '$HANDSET'"

# --- handsets for the call buttons ---------------------------------------
k=$(sc 28)
glyph ic_call.png 28 28 -fill "$WHITE" -draw "scale $k,$k path '$HANDSET'"
glyph ic_hangup.png 28 28 -fill "$WHITE" -draw "scale $k,$k translate 32,34 rotate 135 translate -32,-32 path '$HANDSET'"
glyph ic_answer.png 28 28 -fill "$WHITE" -draw "scale $k,$k path '$HANDSET'"
# redial: a circular arrow
line_glyph ic_redial.png 20 "$ACCENT" 6 "path 'M50 30a18 18 0 1 1-6-13' polyline 46,6 46,18 34,18"
glyph ic_call_small.png 20 20 -fill "$GREEN" -draw "scale $(sc 20),$(sc 20) path '$HANDSET'"

# --- call kinds in the records list (20 x 20) ------------------------------
line_glyph calledOut.png 20 "$ACCENT" 6 "line 18,46 46,18 polyline 24,18 46,18 46,40"
line_glyph calledIn.png 20 "$GREEN" 6 "line 46,18 18,46 polyline 18,24 18,46 40,46"
line_glyph imgcallmiss.png 20 "$RED" 6 "line 46,18 18,46 polyline 18,24 18,46 40,46"

# --- group header chevrons (9 x 9) -----------------------------------------
line_glyph tree_close.png 9 "$MUTED" 9 "polyline 22,12 42,32 22,52"
line_glyph tree_open.png 9 "$MUTED" 9 "polyline 12,22 32,42 52,22"

# --- selected call-line option (40 x 25) -----------------------------------
"$IM" -size 160x100 xc:none -fill '#DCE8FD' -stroke "$ACCENT" -strokewidth 4 -draw "roundrectangle 3,3 156,96 40,40" \
  -resize 40x25 -strip "$OUT/calling_op_bk.png"

# --- small line icons (20 x 20 unless said) --------------------------------
line_glyph ic_user.png 20 "$MUTED" 5 "circle 32,22 32,11 path 'M12 54c2-11 10-17 20-17s18 6 20 17'"
line_glyph ic_lock.png 20 "$MUTED" 5 "roundrectangle 13,28 51,55 6,6 path 'M21 28v-7a11 11 0 0 1 22 0v7'"
line_glyph ic_del.png 24 "$INK" 4.5 "path 'M22 14h30a5 5 0 0 1 5 5v26a5 5 0 0 1-5 5h-30l-16-18z' line 31,24 45,40 line 45,24 31,40"
line_glyph ic_settings.png 20 "$WHITE" 5 "circle 32,32 32,24 path 'M32 6v8M32 50v8M6 32h8M50 32h8M13.6 13.6l5.7 5.7M44.7 44.7l5.7 5.7M13.6 50.4l5.7-5.7M44.7 19.3l5.7-5.7'"
line_glyph ic_switch.png 20 "$WHITE" 5 "path 'M40 14h10v36h-10' polyline 22,22 32,32 22,42 line 8,32 32,32"
line_glyph ic_min.png 16 "$WHITE" 5 "line 16,36 48,36"
line_glyph ic_close.png 16 "$WHITE" 5 "line 18,18 46,46 line 46,18 18,46"
line_glyph ic_max.png 16 "$WHITE" 5 "roundrectangle 16,16 48,48 4,4"
line_glyph ic_restore.png 16 "$WHITE" 5 "roundrectangle 14,24 40,50 3,3 path 'M24 14h24a2 2 0 0 1 2 2v24'"
line_glyph ic_add.png 18 "$ACCENT" 6 "line 32,12 32,52 line 12,32 52,32"
line_glyph ic_edit.png 18 "$ACCENT" 5 "path 'M14 50l3-12 26-26 9 9-26 26z' line 38,17 47,26"
line_glyph ic_trash.png 18 "$RED" 5 "line 12,18 52,18 path 'M26 18v-6h12v6M17 18l3 36h24l3-36'"
line_glyph ic_contact_add.png 20 "$ACCENT" 5 "circle 26,22 26,12 path 'M8 54c2-10 9-16 18-16s14 4 16 10' line 50,34 50,54 line 40,44 60,44"
line_glyph ic_recharge.png 18 "$ACCENT" 5 "roundrectangle 8,16 56,50 6,6 line 8,27 56,27 line 16,40 28,40"

# --- tab icons, grey and accent (22 x 22) -----------------------------------
tab_icons() {
  c=$1; suffix=$2
  line_glyph "tab_dial$suffix.png" 22 "$c" 5 "circle 16,14 16,11 circle 32,14 32,11 circle 48,14 48,11 circle 16,30 16,27 circle 32,30 32,27 circle 48,30 48,27 circle 16,46 16,43 circle 32,46 32,43 circle 48,46 48,43 circle 32,58 32,56"
  line_glyph "tab_contacts$suffix.png" 22 "$c" 5 "roundrectangle 10,8 54,56 7,7 circle 32,26 32,19 path 'M20 46c2-7 7-10 12-10s10 3 12 10'"
  line_glyph "tab_records$suffix.png" 22 "$c" 5 "circle 32,32 32,8 polyline 32,18 32,32 42,38"
  line_glyph "tab_offers$suffix.png" 22 "$c" 5 "roundrectangle 10,24 54,56 4,4 line 32,24 32,56 line 8,24 56,24 path 'M32 24c-4-10-16-14-16-6 0 4 8 6 16 6zM32 24c4-10 16-14 16-6 0 4-8 6-16 6z'"
}
tab_icons "$MUTED" ""
tab_icons "$ACCENT" "_on"
echo "images written to $OUT"
