#!/usr/bin/env bash
# Takes the animated capture at the top of the README from the real game under a private Xvfb:
#   scripts/capture.sh [GAME] [BUILD_DIR] [OUT.gif]
# (defaults: build/voxmere, build, docs/screenshots/play.gif). After Enter the ship fires from
# the moment the controls come alive, so rocks are breaking up when the first fighter wave
# arrives at 20 s, and sways left and right so the field slides past. From 25 s on the screen is
# grabbed ten times a second (or as often as the machine manages) for ten seconds; the liveliest
# four seconds (the most bright pixels: beams, missiles, bursts, close rocks) become the GIF,
# each picture shown for as long as it lasted. CAPTURE_SIZE sets its size (480x360 unless
# given). Needs python3 (the grabbing) besides what the end-to-end tests use.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
game=$(realpath "${1:-$root/build/voxmere}")
build=$(realpath "${2:-$root/build}")
out=$(realpath "${3:-$root/docs/screenshots/play.gif}")
if ! command -v python3 >/dev/null; then
    echo "capture.sh: needs python3 to grab the screen (apt-get install python3)" >&2
    exit 1
fi
source "$root/scripts/lib/xvfb-game.sh" "$game" "$build"

GRAB_MS=10000
STEP_MS=100     # ten pictures a second
KEEP_FRAMES=40  # four seconds
SIZE=${CAPTURE_SIZE:-480x360}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Taps Ctrl every tenth of a second and Space now and then, swaying left and right, until
# $WORK/stop appears.
play() {
    local i=0
    while [[ ! -e "$WORK/stop" ]]; do
        case $((i % 40)) in
            0) xdotool keydown --window "$win" Left 2>/dev/null ;;
            6) xdotool keyup --window "$win" Left 2>/dev/null ;;
            20) xdotool keydown --window "$win" Right 2>/dev/null ;;
            26) xdotool keyup --window "$win" Right 2>/dev/null ;;
        esac
        xdotool key --window "$win" ctrl 2>/dev/null
        ((i % 6 == 3)) && xdotool key --window "$win" space 2>/dev/null
        i=$((i + 1))
        sleep 0.1
    done
    xdotool keyup --window "$win" Left keyup --window "$win" Right 2>/dev/null
}

start_xvfb 640x480x24
start_game
win=$(wait_window Voxmere)
key "$win" Return
sleep 11  # the controls come alive at about ten and a half seconds
play &
player=$!
sleep 14  # the first wave enters at 20 s and closes in over the next ten

# Grabs the screen every STEP_MS for GRAB_MS through Xlib, each picture stamped with the time
# it was taken (an import per picture costs a few hundred ms on a busy machine, and `import
# -snaps` does not say when it took each one).
python3 - "$WORK" "$GRAB_MS" "$STEP_MS" <<'PYTHON' || fail "could not grab the screen"
import ctypes, sys, time
work, grab_ms, step_ms = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XFree.argtypes = [ctypes.c_void_p]

class XImage(ctypes.Structure):  # the leading fields of Xlib's XImage
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no display")
root = x11.XDefaultRootWindow(display)
start = time.monotonic()
with open(work + "/grabs", "w") as log:
    n = 0
    while (time.monotonic() - start) * 1000 < grab_ms:
        taken = int((time.monotonic() - start) * 1000)
        address = x11.XGetImage(display, root, 0, 0, 640, 480, 0xFFFFFFFF, 2)  # ZPixmap
        if not address:
            sys.exit("XGetImage failed")
        image = XImage.from_address(address)
        if image.bits_per_pixel != 32 or image.bytes_per_line != 640 * 4:
            sys.exit("unexpected screen format")
        bgrx = ctypes.string_at(image.data, 640 * 480 * 4)
        x11.XFree(image.data)
        x11.XFree(address)
        rgb = bytearray(640 * 480 * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = bgrx[2::4], bgrx[1::4], bgrx[0::4]
        name = "%s/grab-%03d.rgb" % (work, n)
        with open(name, "wb") as f:
            f.write(rgb)
        log.write("%d rgb:%s\n" % (taken, name))
        n += 1
        pause = start + (taken + step_ms) / 1000 - time.monotonic()
        if pause > 0:
            time.sleep(pause)
PYTHON
touch "$WORK/stop"
wait "$player"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the capture"
key "$win" Escape
wait_game 10

# How bright each picture is: the pixels whose brightest channel is above 60 %.
while read -r at file; do
    echo "$at $file $(convert -size 640x480 -depth 8 "$file" -colorspace HSB -channel B -separate \
        -threshold 60% -format "%[fx:int(mean*w*h)]" info:)"
done <"$WORK/grabs" >"$WORK/light"
# A slow machine takes fewer pictures; the GIF is then shorter.
grabbed=$(wc -l <"$WORK/light")
((grabbed > KEEP_FRAMES)) || KEEP_FRAMES=$((grabbed - 1))
((KEEP_FRAMES >= 15)) || fail "too few pictures: $grabbed"
# The liveliest KEEP_FRAMES in a row, each shown for as long as it lasted (hundredths).
awk -v k="$KEEP_FRAMES" '{ t[NR] = $1; f[NR] = $2; l[NR] = $3 } END {
    for (s = 1; s + k <= NR; s++) { sum = 0; for (j = s; j < s + k; j++) sum += l[j]
        if (sum > best) { best = sum; at = s } }
    for (j = at; j < at + k; j++) printf "-delay %d %s\n", (t[j + 1] - t[j]) / 10 + 0.5, f[j]
}' "$WORK/light" >"$WORK/sequence"
mapfile -t sequence < <(tr ' ' '\n' <"$WORK/sequence")

# 64 colours without dithering, and only what changed by more than 3 % stored again in each
# frame, keep it near 1 MB.
convert -loop 0 -size 640x480 -depth 8 "${sequence[@]}" -resize "$SIZE" -fuzz 3% +dither -colors 64 \
    -layers OptimizeTransparency "$out" || fail "could not write $out"
shown=$(awk '{ cs += $2 } END { print cs * 10 }' "$WORK/sequence")
echo "$grabbed pictures in $GRAB_MS ms; the GIF shows $KEEP_FRAMES of them over $shown ms"
echo "$out: $(identify -format '%wx%h\n' "$out" | head -1), $(stat -c %s "$out") bytes"
