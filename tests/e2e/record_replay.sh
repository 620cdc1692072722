# --record writes a journal of a real run and --replay plays it back with no input: both end
# with status 0 and print the same one-line state summary. Escape ends a replay early with
# status 0; a damaged, cut or foreign journal and a journal that cannot be created stop the
# game before its window with one line and status 1.
source "$(dirname "$0")/lib.sh"
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
start_game --record "$JOURNAL"
win=$(wait_window Voxmere)
key "$win" Return
sleep 1
xdotool keydown --window "$win" Up 2>/dev/null  # held through the opening, steers once free
sleep 10.5  # the controls come alive at 10.52 s of play
for _ in $(seq 6); do tap_key "$win" ctrl; sleep 0.15; done
xdotool keyup --window "$win" Up 2>/dev/null
xdotool keydown --window "$win" Left 2>/dev/null
xdotool key --window "$win" space 2>/dev/null
sleep 0.6
xdotool keyup --window "$win" Left 2>/dev/null
key "$win" Escape
wait_game 15
[[ "$GAME_STATUS" == 0 ]] || fail "recording: exit status $GAME_STATUS"
recorded=$(summary_of "$WORK/game.out") || fail "recording printed: $(cat "$WORK/game.out")"
[[ -s "$JOURNAL" ]] || fail "no journal written"
head -c 4 "$JOURNAL" | grep -q VXJR || fail "the journal does not begin with VXJR"
echo "recorded $(stat -c %s "$JOURNAL") bytes: $recorded"

start_game --replay "$JOURNAL"
wait_window Voxmere >/dev/null
wait_game 60
[[ "$GAME_STATUS" == 0 ]] || fail "replay: exit status $GAME_STATUS"
replayed=$(summary_of "$WORK/game.out") || fail "replay printed: $(cat "$WORK/game.out")"
[[ "$replayed" == "$recorded" ]] || fail "the replay ended elsewhere:
  recorded: $recorded
  replayed: $replayed"

# The player's keys do not steer a replay; Escape ends it at once.
start_game --replay "$JOURNAL"
win=$(wait_window Voxmere)
key "$win" Escape
wait_game 10
[[ "$GAME_STATUS" == 0 ]] || fail "replay ended by Escape: exit status $GAME_STATUS"
summary_of "$WORK/game.out" >/dev/null || fail "no summary after Escape: $(cat "$WORK/game.out")"

size=$(stat -c %s "$JOURNAL")
head -c $((size - 3)) "$JOURNAL" >"$WORK/cut.vxj"
refused cut "cut short" --replay "$WORK/cut.vxj"
cp "$JOURNAL" "$WORK/damaged.vxj"
printf '\x07' | dd of="$WORK/damaged.vxj" bs=1 seek=6 conv=notrunc 2>/dev/null  # stereo flag
refused damaged "damaged header" --replay "$WORK/damaged.vxj"
echo "ok"
