#!/usr/bin/env bash
# Takes the pictures in docs/screenshots from the real game under a private Xvfb, and the
# scenes a change to the drawing is judged by:
#   tools/take-screenshots.sh SET [GAME] [BUILD_DIR] [OUT] [BEFORE]
# (defaults: build/voxmere, build, docs/screenshots), into OUT. SET is one of
#   play     title, title-help, title-options, opening, play and flight: the title's pages, then
#            a game, firing until a rock breaks up (the brightest of a few salvos after it)
#   wide     title-1280x720, play-1280x720, play-1920x1080: desktop full screen, drawn at the
#            window's own size as on a GPU (VOXMERE_FRAME_PIXELS=0)
#   combat   fighters: left alone until the first wave closes in (about 29 s after Enter),
#            after the ship has slid left; pickups: the seven pickups in a row
#   profile  title (a first run, no best yet), title-best (a table of best scores in a private
#            HOME), new-best (a game that beat the best, one second into its game-over fade)
#   gif      play.gif, the animated capture (see below)
#   all      the five above: every picture in docs/screenshots
#   scenes   title, opening, flight (busy), full-load, game-over (its fade) from fixed frames of
#            the journals in tests/journals. With BEFORE, a folder of the same five taken
#            earlier, each is compared with it: how many pixels differ, the largest difference
#            in any channel, and whether any pixel has green where the earlier one had none;
#            exits 1 when more than 0.5 % of a picture's pixels differ, one by more than 8
#            levels, or green appears. Not part of all (see docs/developing.md, "Judging a change
#            to the drawing").
# pickups, new-best and the scenes are drawn in the generated art on the offscreen GL context by
# the disabled showcase tests, run from the build folder (where Textures/ lives).
#
# The GIF: after Enter the ship fires from the moment the controls come alive, so rocks are
# breaking up when the first fighter wave arrives at 20 s, and sways left and right so the field
# slides past. From 25 s on the screen is grabbed ten times a second (or as often as the machine
# manages) for ten seconds; the liveliest four seconds (the most bright pixels: beams, missiles,
# bursts, close rocks) become the GIF, each picture shown for as long as it lasted. CAPTURE_SIZE
# sets its size (480x360 unless given). Needs python3 (the grabbing) besides what the
# end-to-end tests use.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
sets="play wide combat profile gif all scenes"
if [[ $# -lt 1 || " $sets " != *" $1 "* ]]; then
    echo "usage: $0 {${sets// /|}} [GAME] [BUILD_DIR] [OUT] [BEFORE]" >&2
    exit 2
fi
set=$1
shift
if [[ $set == all ]]; then
    status=0
    for one in play wide combat profile gif; do
        "$0" "$one" "$@" || status=1
    done
    exit $status
fi
if [[ $set == gif ]] && ! command -v python3 >/dev/null; then
    echo "take-screenshots.sh: needs python3 to grab the screen (apt-get install python3)" >&2
    exit 1
fi
mkdir -p "${3:-$root/docs/screenshots}"
OUT=$(realpath "${3:-$root/docs/screenshots}")
source "$root/scripts/lib/xvfb-game.sh" "$(realpath "${1:-$root/build/voxmere}")" \
    "$(realpath "${2:-$root/build}")"
BEFORE=${4:-}

shoot() { import -window root "$OUT/$1.png"; }

# showcase TEST NAME...: runs the disabled showcase test TEST and turns the raw 640 x 480
# pictures it writes into OUT/NAME.png.
showcase() {
    local test=$1 name
    shift
    (cd "$BUILD_DIR" && VOXMERE_SHOWCASE_DIR="$WORK" SDL_VIDEODRIVER=offscreen \
        SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null ./tests/voxmere_tests \
        --gtest_also_run_disabled_tests --gtest_filter="$test" >"$WORK/showcase.log" 2>&1) ||
        fail "showcase: $(tail -20 "$WORK/showcase.log")"
    for name in "$@"; do
        [[ -s "$WORK/$name.rgb" ]] || fail "the showcase wrote no $name"
        convert -size 640x480 -depth 8 "rgb:$WORK/$name.rgb" "$OUT/$name.png" ||
            fail "could not write $OUT/$name.png"
    done
}

case $set in
play)
    start_xvfb 640x480x24
    open_game
    sleep 1
    shoot title
    click "$win" 195 300  # help
    sleep 0.5
    shoot title-help
    click "$win" 457 436  # back
    sleep 0.3
    click "$win" 290 300  # options
    sleep 0.5
    shoot title-options
    click "$win" 424 335  # back
    sleep 0.3
    click "$win" 380 300  # start
    sleep 6
    shoot opening
    sleep 7
    shoot play
    # Flying and firing: the ship holds still and taps both triggers until a rock in line with
    # the cannons or missiles breaks up, then fires a few more salvos and keeps the brightest
    # picture: beams, missiles, the explosion and the sparks of hits. The first rock broken up
    # turns the score's tens digit from 0 to 2. It is read between salvos, when the shots are
    # far ahead, from the pure red strokes of the left eye's digit only (rocks are red and blue,
    # stars dim), and must stay for two readings, as a drifting rock's light does not.
    tens_digit() {
        import -window root "$WORK/check.png"
        convert "$WORK/check.png" -crop 15x22+160+450 +repage \
            -fx "(r > 0.6 && b < 0.25) ? 1 : 0" "$WORK/tens-$1.png"
    }
    changed_pixels() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1 | cut -d. -f1; }
    fire() {
        xdotool keydown --window "$win" ctrl keydown --window "$win" space 2>/dev/null
        sleep 0.08
        import -window root "$WORK/flight-$1.png"
        xdotool keyup --window "$win" ctrl keyup --window "$win" space 2>/dev/null
    }
    light() { convert "$1" -colorspace gray -threshold 30% -format "%[fx:int(mean*w*h)]" info:; }
    tens_digit 0
    for i in $(seq 150); do
        fire "$i"
        sleep 0.3
        tens_digit "$i"
        if ((i > 1 && $(changed_pixels "$WORK/tens-0.png" "$WORK/tens-$i.png") > 25 &&
            $(changed_pixels "$WORK/tens-$((i - 1)).png" "$WORK/tens-$i.png") < 6)); then
            break
        fi
    done
    for j in 1 2 3 4; do
        fire "after-$j"
        sleep 0.25
    done
    best=$(for j in 1 2 3 4; do
        echo "$(light "$WORK/flight-after-$j.png") $WORK/flight-after-$j.png"
    done | sort -n | tail -1 | cut -d' ' -f2)
    cp "$best" "$OUT/flight.png"
    echo "flight picture after $i salvos"
    key "$win" Escape
    wait_game 10
    ;;
wide)
    export VOXMERE_FRAME_PIXELS=0
    shoot_at() {  # shoot_at SIZE NAME SECONDS_OF_PLAY (none: the title)
        start_xvfb "$1x24"
        start_window_manager
        open_game --fullscreen desktop
        sleep 1
        if [[ -n ${3:-} ]]; then
            key "$win" Return
            sleep "$3"
        fi
        shoot "$2"
        kill -KILL -- "-$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
        GAME_PID=""
        kill "$WM_PID" "$XVFB_PID" 2>/dev/null
        wait 2>/dev/null
        WM_PID="" XVFB_PID=""
    }
    shoot_at 1280x720 title-1280x720
    shoot_at 1280x720 play-1280x720 13
    shoot_at 1920x1080 play-1920x1080 13
    ;;
combat)
    showcase CombatShowcase.DISABLED_WritePickupRow pickups
    start_xvfb 640x480x24
    open_game
    key "$win" Return
    # A fighter steers at its distance from the ship, so a wave stays on the centre line until
    # the ship moves off it: slide left for a moment once the wave is in.
    sleep 21
    xdotool keydown --window "$win" Left 2>/dev/null
    sleep 1.2
    xdotool keyup --window "$win" Left 2>/dev/null
    sleep "${FIGHTER_SHOT_AFTER:-6.6}"
    shoot fighters
    key "$win" Escape
    wait_game 10
    ;;
profile)
    showcase ProfileShowcase.DISABLED_WriteNewBestBanner new-best
    start_xvfb 640x480x24
    title_shot() {
        open_game
        sleep 1
        shoot "$1"
        key "$win" Escape 2>/dev/null
        kill -TERM "$GAME_PID" 2>/dev/null
        wait_game 10
    }
    title_shot title
    mkdir -p "$HOME/.local/share/voxmere"
    printf 'voxmere-scores 1\n12340 187.52 2026-12-01T20:15:03Z\n8460 140.07 2026-11-29T18:02:41Z\nend\n' \
        >"$HOME/.local/share/voxmere/scores"
    title_shot title-best
    ;;
gif)
    GRAB_MS=10000
    STEP_MS=100     # ten pictures a second
    KEEP_FRAMES=40  # four seconds
    SIZE=${CAPTURE_SIZE:-480x360}
    gif=$OUT/play.gif
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
    open_game
    key "$win" Return
    sleep 11  # the controls come alive at about ten and a half seconds
    play &
    player=$!
    sleep 14  # the first wave enters at 20 s and closes in over the next ten

    # Grabs the screen every STEP_MS for GRAB_MS through Xlib, each picture stamped with the
    # time it was taken (an import per picture costs a few hundred ms on a busy machine, and
    # `import -snaps` does not say when it took each one).
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
        echo "$at $file $(convert -size 640x480 -depth 8 "$file" -colorspace HSB -channel B \
            -separate -threshold 60% -format "%[fx:int(mean*w*h)]" info:)"
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
    convert -loop 0 -size 640x480 -depth 8 "${sequence[@]}" -resize "$SIZE" -fuzz 3% +dither \
        -colors 64 -layers OptimizeTransparency "$gif" || fail "could not write $gif"
    shown=$(awk '{ cs += $2 } END { print cs * 10 }' "$WORK/sequence")
    echo "$grabbed pictures in $GRAB_MS ms; the GIF shows $KEEP_FRAMES of them over $shown ms"
    echo "$gif: $(identify -format '%wx%h\n' "$gif" | head -1), $(stat -c %s "$gif") bytes"
    ;;
scenes)
    scenes=(title opening flight full-load game-over)
    showcase Showcase.DISABLED_WriteScenes "${scenes[@]}"
    [[ -n $BEFORE ]] || { echo "screenshots in $OUT"; exit 0; }
    before=$(realpath "$BEFORE")
    status=0
    for scene in "${scenes[@]}"; do
        read -r differing largest green < <(python3 - "$before/$scene.png" "$OUT/$scene.png" <<'PY'
import subprocess, sys
def rgb(path):
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                          check=True).stdout
a, b = rgb(sys.argv[1]), rgb(sys.argv[2])
differing = largest = green = 0
for i in range(0, len(a), 3):
    d = max(abs(a[i] - b[i]), abs(a[i + 1] - b[i + 1]), abs(a[i + 2] - b[i + 2]))
    if d:
        differing += 1
        largest = max(largest, d)
    if b[i + 1] > 0 and a[i + 1] == 0:
        green += 1
print(differing, largest, green)
PY
)
        share=$(awk -v d="$differing" 'BEGIN { printf "%.3f", d * 100 / (640 * 480) }')
        verdict=same
        if awk -v s="$share" -v l="$largest" -v g="$green" \
            'BEGIN { exit !(s > 0.5 || l > 8 || g > 0) }'; then
            verdict=DIFFERENT
            status=1
        fi
        echo "$scene: $differing pixels differ ($share %), largest channel difference $largest," \
            "$green newly green: $verdict"
    done
    exit $status
    ;;
esac
[[ $set == gif ]] || echo "screenshots in $OUT"
