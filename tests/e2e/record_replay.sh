# A recorded flight. After the opening, holding an arrow key and the fire key flies the ship: the
# backdrop slides, so nearly every pixel changes, while the drifting field alone changes only
# where rocks move (a sixth to a quarter of the screen, more when one passes close). --record writes a journal of that run and --replay plays it back with no
# input: both end with status 0 and print the same one-line state summary. Escape ends a replay
# early with status 0; a damaged, cut or foreign journal and a journal that cannot be created
# stop the game before its window with one line and status 1.
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
JOURNAL="$WORK/run.vxj"

summary_of() { grep -c . "$1" | grep -qx 1 && grep -E '^score=-?[0-9]+ lives=.* positions=[0-9a-f]{16}$' "$1"; }

# Refusals need no display: they come before the window.
refused() {  # refused NAME WORDS... (the arguments follow after --)
    local name=$1 expect=$2
    shift 2
    (cd "$BUILD_DIR" && DISPLAY= "$GAME" "$@" >"$WORK/$name.out" 2>"$WORK/$name.err")
    local status=$?
    [[ $status == 1 ]] || fail "$name: exit status $status"
    [[ $(wc -l <"$WORK/$name.err") == 1 ]] || fail "$name: not one line: $(cat "$WORK/$name.err")"
    grep -q "^voxmere: .*$expect" "$WORK/$name.err" || fail "$name: $(cat "$WORK/$name.err")"
    [[ ! -s "$WORK/$name.out" ]] || fail "$name printed to standard output"
}
refused unwritable "cannot record to" --record "$WORK/no/such/folder/run.vxj"
refused missing "cannot be opened" --replay "$WORK/none.vxj"
printf 'GIF89a and a picture' >"$WORK/foreign.vxj"
refused foreign "not a Voxmere journal" --replay "$WORK/foreign.vxj"

start_xvfb 640x480x24
open_game --record "$JOURNAL"
key "$win" Return
sleep 1
xdotool keydown --window "$win" Up 2>/dev/null  # held through the opening, steers once free
sleep 10.5  # the controls come alive at 10.52 s of play
for _ in $(seq 6); do tap_key "$win" ctrl; sleep 0.15; done
xdotool keyup --window "$win" Up 2>/dev/null
# The spawn shield's glow fades until 12.52 s and the ship takes under half a second to stop:
# both must be over before the drift is measured, or they count as change.
sleep 2
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the opening"
shot() { import -window root "$WORK/$1.png" 2>/dev/null; }
# A fine tolerance, so the backdrop's soft shading counts when it slides.
changed() { compare -metric AE -fuzz 1% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1; }
shot before
sleep 0.85  # as long as the flight below
shot drifted
xdotool keydown --window "$win" Left 2>/dev/null
sleep 0.8  # full stick after 0.45 s
# A beam is in flight for about a fifth of a second, and a screenshot on a busy machine can take
# longer than that: keep tapping the trigger so beams are in the air whenever the shot is taken.
(for _ in $(seq 20); do xdotool key --window "$win" ctrl 2>/dev/null; sleep 0.05; done) &
tapper=$!
sleep 0.05
shot flying
wait "$tapper"
xdotool key --window "$win" space 2>/dev/null
xdotool keyup --window "$win" Left 2>/dev/null
drift=$(changed before drifted)
flight=$(changed drifted flying)
echo "pixels changed: $drift while drifting, $flight while flying"
((flight > 640 * 480 * 2 / 3 && flight > drift)) || fail "holding Left and Ctrl hardly changed the picture"
key "$win" Escape
ends_with 0 "recording"
recorded=$(summary_of "$WORK/game.out") || fail "recording printed: $(cat "$WORK/game.out")"
[[ -s "$JOURNAL" ]] || fail "no journal written"
head -c 4 "$JOURNAL" | grep -q VXJR || fail "the journal does not begin with VXJR"
echo "recorded $(stat -c %s "$JOURNAL") bytes: $recorded"

start_game --replay "$JOURNAL"
wait_window Voxmere >/dev/null
ends_with 0 "replay" 60
replayed=$(summary_of "$WORK/game.out") || fail "replay printed: $(cat "$WORK/game.out")"
[[ "$replayed" == "$recorded" ]] || fail "the replay ended elsewhere:
  recorded: $recorded
  replayed: $replayed"

# The player's keys do not steer a replay; Escape ends it at once.
open_game --replay "$JOURNAL"
key "$win" Escape
ends_with 0 "replay ended by Escape" 10
summary_of "$WORK/game.out" >/dev/null || fail "no summary after Escape: $(cat "$WORK/game.out")"

size=$(stat -c %s "$JOURNAL")
head -c $((size - 3)) "$JOURNAL" >"$WORK/cut.vxj"
refused cut "cut short" --replay "$WORK/cut.vxj"
cp "$JOURNAL" "$WORK/damaged.vxj"
printf '\x07' | dd of="$WORK/damaged.vxj" bs=1 seek=6 conv=notrunc 2>/dev/null  # stereo flag
refused damaged "damaged header" --replay "$WORK/damaged.vxj"
echo "ok"
