# Twenty-five seconds of seeded random keys, clicks, pauses and focus changes on the real game
# after Enter: it must neither crash nor end before Escape, and Escape must end it with status 0.
# Memory is only reported here: in the first half minute it still grows as the fighters, shots
# and bursts are drawn for the first time (scripts/random-input.sh judges it over five minutes).
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
source "$(dirname "$0")/../../scripts/lib/random-play.sh"
random_play 25 20240612 0
echo "ok"
