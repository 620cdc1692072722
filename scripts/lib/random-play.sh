# Random play of the real game under Xvfb, shared by tests/e2e/random_input.sh (a short run in
# the suite) and scripts/random-input.sh (five minutes). Needs xvfb-game.sh sourced first.
#
# random_play SECONDS SEED BASELINE_AGE
#   Starts the game, presses Enter on the title and then, for SECONDS, sends seeded random input
#   through the X server as a player's keyboard and mouse would: keys held and tapped (arrows,
#   Ctrl, Space, P, Enter), left and right clicks, held and instant, pauses, and focus taken away
#   by a second window or by unmapping the game's window, then given back. Escape only at the
#   end. The seed fixes the sequence of input, not the game: frame timing still varies.
#
#   The game ends by itself five seconds after its last life is lost. When it does so with
#   status 0 before the end, that run is over and a fresh game is started (a new process); any
#   other early end is a failure, and so is any status but 0 after the closing Escape.
#
#   The resident memory of each run is sampled every RANDOM_RSS_EVERY seconds. With
#   BASELINE_AGE above 0, after a run has lived that many seconds no later sample may exceed the
#   one taken then by more than RSS_ALLOWANCE_KB; runs that end before that are reported but not
#   judged, and at least one run must be judged. With BASELINE_AGE 0 the samples are only
#   reported. The allowance is there because memory in use follows the scene: Mesa's software
#   renderer holds the immediate-mode geometry of the frames it is still drawing, so the heap
#   swings by several MB between a calm and a busy frame, and the resident size keeps the
#   highest point reached. A busier moment than any before can raise it once by a few MB; a
#   leak keeps raising it.

RANDOM_RSS_EVERY=${RANDOM_RSS_EVERY:-2}
RSS_ALLOWANCE_KB=4096
OTHER_PID=""
RUNS=0
HELD=()

trap 'held_release_all; [[ -n "$OTHER_PID" ]] && kill "$OTHER_PID" 2>/dev/null; cleanup' EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Random integer in [lo, hi].
pick() { echo $(($1 + RANDOM % ($2 - $1 + 1))); }

# Sleeps a random number of milliseconds in [lo, hi].
nap() { sleep "$(printf '0.%03d' "$(pick "$1" "$2")")"; }
long_nap() {
    local ms
    ms=$(pick "$1" "$2")
    sleep "$((ms / 1000)).$(printf '%03d' $((ms % 1000)))"
}

# Writes "run age_ms rss anon file shmem" (kB) for the game process until it is gone.
sample_rss() {
    local run=$1 pid=$2 born=$3 rss
    while rss=$(awk '/^(VmRSS|RssAnon|RssFile|RssShmem):/ {printf " %s", $2}' "/proc/$pid/status" 2>/dev/null) &&
        [[ -n "$rss" ]]; do
        echo "$run $(($(now_ms) - born))$rss" >>"$WORK/rss"
        sleep "$RANDOM_RSS_EVERY"
    done
}

# A second top-level window to hand the focus to; it has no buttons, so stray input cannot
# close it.
start_other_window() {
    xmessage -title "somewhere else" -geometry 240x80+200+200 -buttons "" "somewhere else" \
        >/dev/null 2>&1 &
    OTHER_PID=$!
    OTHER_WIN=""
    eventually 5 'OTHER_WIN=$(xdotool search --name "^somewhere else\$" 2>/dev/null | head -1); [[ -n "$OTHER_WIN" ]]' ||
        fail "the second window did not appear"
}

start_run() {
    RUNS=$((RUNS + 1))
    local born
    born=$(now_ms)
    start_game
    WIN=$(wait_window Voxmere)
    sample_rss "$RUNS" "$GAME_PID" "$born" &
    xdotool windowfocus "$WIN" 2>/dev/null
    key "$WIN" Return
    echo "run $RUNS: game started (pid $GAME_PID)"
}

held_release_all() {
    local k
    for k in "${HELD[@]}"; do xdotool keyup "$k" 2>/dev/null; done
    HELD=()
}

# Focus back on the game: mapped, raised and focused.
give_focus_back() {
    xdotool windowmap "$WIN" 2>/dev/null
    xdotool windowraise "$WIN" windowfocus "$WIN" 2>/dev/null
}

TAP_KEYS=(Left Right Up Down Control_L Control_R space Return)
HOLD_KEYS=(Left Right Up Down Control_L space)

# One random action of a player. Keys go to whichever window has the focus, as a keyboard's do.
random_action() {
    local roll k i
    roll=$(pick 0 99)
    if ((roll < 25)); then  # hold a key (it may already be down)
        k=${HOLD_KEYS[RANDOM % ${#HOLD_KEYS[@]}]}
        xdotool keydown "$k" 2>/dev/null
        HELD+=("$k")
    elif ((roll < 45)); then  # let go of a held key
        if ((${#HELD[@]} > 0)); then
            i=$((RANDOM % ${#HELD[@]}))
            xdotool keyup "${HELD[i]}" 2>/dev/null
            HELD=("${HELD[@]:0:i}" "${HELD[@]:i+1}")
        fi
    elif ((roll < 70)); then  # tap a key: instant, or for a frame or two
        k=${TAP_KEYS[RANDOM % ${#TAP_KEYS[@]}]}
        if ((RANDOM % 2)); then
            xdotool key "$k" 2>/dev/null
        else
            xdotool keydown "$k" sleep 0.04 keyup "$k" 2>/dev/null
        fi
    elif ((roll < 82)); then  # a click somewhere, left or right, instant or held
        local button=$((RANDOM % 3 == 0 ? 3 : 1))
        xdotool mousemove "$(pick 0 639)" "$(pick 0 479)" 2>/dev/null
        if ((RANDOM % 2)); then
            xdotool click "$button" 2>/dev/null
        else
            xdotool mousedown "$button" sleep 0.2 mouseup "$button" 2>/dev/null
        fi
    elif ((roll < 88)); then  # pause, perhaps steer while paused, resume
        xdotool key p 2>/dev/null
        long_nap 200 2500
        ((RANDOM % 2)) && xdotool key Left 2>/dev/null
        xdotool key p 2>/dev/null
    elif ((roll < 94)); then  # another window takes the focus for a while
        xdotool windowraise "$OTHER_WIN" windowfocus "$OTHER_WIN" 2>/dev/null
        long_nap 100 2000
        ((RANDOM % 2)) && xdotool key space 2>/dev/null  # goes to the other window
        give_focus_back
    elif ((roll < 97)); then  # the game's window is hidden, as minimising does, then shown
        xdotool windowunmap "$WIN" 2>/dev/null
        long_nap 100 1500
        give_focus_back
    fi
    nap 20 250
}

# Prints what the samples in $WORK/rss show, one line per run; with a baseline age (ms) above 0
# judges them too and is false if memory grew.
judge_rss() {
    local baseline_ms=$1
    awk -v base="$baseline_ms" -v allowed="$RSS_ALLOWANCE_KB" '
        { run = $1; age = $2; kb = $3; n[run]++; last[run] = kb; lastage[run] = age
          if (!(run in first)) first[run] = kb
          if (kb > top[run]) top[run] = kb
          if (base > 0 && age >= base && !(run in ref)) { ref[run] = kb; refage[run] = age }
          else if (run in ref && kb > peak[run]) peak[run] = kb }
        END {
          judged = 0; bad = 0
          for (r = 1; r in n; r++) {
            if (!(r in ref) || !(r in peak)) {
              printf "run %d: %d samples over %.0f s: %d kB first, %d kB highest, %d kB last%s\n", r, n[r],
                  lastage[r] / 1000, first[r], top[r], last[r], (base > 0 ? "; ended before it could be judged" : "")
              continue
            }
            judged++
            grew = peak[r] - ref[r]
            if (grew > allowed) bad++
            printf "run %d: %d samples over %.0f s: %d kB first, %d kB at %.0f s, %d kB highest after it (%+d kB, %d allowed), %d kB last: %s\n",
                r, n[r], lastage[r] / 1000, first[r], ref[r], refage[r] / 1000, peak[r], grew, allowed, last[r],
                (grew > allowed ? "GREW" : "steady")
          }
          if (base > 0 && judged == 0) { print "no run lived long enough to judge its memory"; exit 1 }
          if (base == 0 && judged == 0 && n[1] < 2) { print "too few samples of the memory of the game"; exit 1 }
          exit bad > 0
        }' "$WORK/rss"
}

random_play() {
    local seconds=$1 seed=$2 baseline=$3
    RANDOM=$seed
    : >"$WORK/rss"
    if ((baseline > 0)); then
        echo "seed $seed, $seconds s of random input; memory may grow by at most $RSS_ALLOWANCE_KB kB after ${baseline} s of each run"
    else
        echo "seed $seed, $seconds s of random input; memory reported, not judged"
    fi
    start_xvfb 640x480x24
    start_other_window
    start_run
    local deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            held_release_all
            wait_game 1
            [[ "$GAME_STATUS" == 0 ]] || fail "run $RUNS: the game died with status $GAME_STATUS"
            echo "run $RUNS: the game ended by itself with status 0 (game over); starting another"
            start_run
        fi
        random_action
    done
    held_release_all
    give_focus_back
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
        # The last life went just before the end: Escape is tried on a fresh game instead.
        wait_game 1
        [[ "$GAME_STATUS" == 0 ]] || fail "run $RUNS: the game died with status $GAME_STATUS"
        echo "run $RUNS: the game ended by itself with status 0 (game over) as Escape was due"
        start_run
        sleep 2
    fi
    key "$WIN" Escape
    wait_game 10
    [[ "$GAME_STATUS" == 0 ]] || fail "run $RUNS: status $GAME_STATUS after Escape (124: still running)"
    echo "run $RUNS: Escape ended it with status 0"
    sleep 0.2
    [[ -n "${RANDOM_RSS_LOG:-}" ]] && cp "$WORK/rss" "$RANDOM_RSS_LOG"
    judge_rss $((baseline * 1000)) || fail "resident memory: see above"
}
