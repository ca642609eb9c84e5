#!/usr/bin/env bash
# Times the window itself on a large batch, driven like a user with xdotool under a
# virtual X server: add COUNT files through the file dialog, tick the user password,
# type it, press Start, and wait for every output.
#
#   bench/window.sh [-b BUILD_DIR] [-n COUNT]
#
# Prints how long adding the files kept the program busy and how long the run took.
# Needs xdotool and xvfb-run; the files come from the test generator.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build"
COUNT=2000
while getopts "b:n:" opt; do
    case "$opt" in
    b) BUILD="$OPTARG" ;;
    n) COUNT="$OPTARG" ;;
    *) sed -n 2,10p "$0"; exit 2 ;;
    esac
done
command -v xdotool >/dev/null || { echo "needs xdotool (apt-get install xdotool)" >&2; exit 2; }

if [ -z "${PZ_WINDOW_BENCH_INNER:-}" ]; then
    export PZ_WINDOW_BENCH_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

WORK="$(mktemp -d /tmp/pz-window-XXXXXX)"
trap 'kill "${PID:-0}" 2>/dev/null; rm -rf "$WORK"' EXIT
mkdir -p "$WORK/in" "$WORK/out"
"$BUILD/tests/bin/pz-make-pdfs" "$WORK/in" "$COUNT" 2 >/dev/null

export HOME="$WORK/home"
# Its own lock and socket: a window already open for this user must not take the run.
export XDG_RUNTIME_DIR="$WORK"
settings="$HOME/Brisklowan files/Brisklowan PDF Zerovovor"
mkdir -p "$settings"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<setting>\n   <last-convert-dir>%s</last-convert-dir>\n   <last-output-dir>%s</last-output-dir>\n</setting>\n' \
    "$WORK/in" "$WORK/out" >"$settings/PDF_ENCRYPTION_TAVO.cfg"

"$BUILD/stage/bin/pdfzerovovor" 2>/dev/null &
PID=$!
sleep 3
eval "$(xdotool search --name "Brisklowan PDF Zerovovor" getwindowgeometry --shell | head -3)"
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.4; }
now() { date +%s.%N; }
cpu() { awk '{ print $14 + $15 }' "/proc/$PID/stat"; }
# Busy until its CPU time stops growing for three quarter-second looks.
wait_idle() {
    local last=-1 idle=0 c
    for _ in $(seq 1 2400); do
        sleep 0.25
        c=$(cpu)
        if [ "$c" = "$last" ]; then idle=$((idle + 1)); [ $idle -ge 3 ] && return; else idle=0; fi
        last=$c
    done
}

click 670 74 # Add
sleep 2
xdotool mousemove 229 56 click 1 # the dialog's file list
sleep 0.3
xdotool key ctrl+a
sleep 0.5
t0=$(now)
xdotool key Return
wait_idle
t1=$(now)
click 37 269 # User Password
xdotool type --delay 5 "secret"
sleep 0.5
t2=$(now)
click 654 579 # Start
for _ in $(seq 1 4800); do
    [ "$(ls "$WORK/out" | wc -l)" -ge "$COUNT" ] && break
    sleep 0.05
done
t3=$(now)
written=$(ls "$WORK/out" | wc -l)
awk -v a="$t0" -v b="$t1" -v c="$t2" -v d="$t3" -v n="$COUNT" -v w="$written" 'BEGIN {
    add = b - a - 0.75; run = d - c;
    printf "add %d files: %.2f s (%.0f files/s)\n", n, add, n / add;
    printf "encrypt in the window: %.2f s (%.0f files/s), %d outputs\n", run, w / run, w }'
