#!/usr/bin/env bash
# Measures the CPU the game uses as a player sees it: each given game binary is started in a real window under
# one Xvfb, idles at the main menu, then enters the first Action level through the menus with scripted mouse
# and keyboard input and swims about it. CPU is the game process's user + system time over each phase, in
# percent of one core; the one-minute load average is printed beside it, since the machine may be shared.
# Where perf can place a probe on SDL_GL_SwapWindow (as root), the frames per second shown are counted too:
# a busy machine that holds the game below 60 also lowers its CPU.
#
# Usage: scripts/measure-play-cpu.sh [-s SECONDS] [-r ROUNDS] [-p SHOTS_DIR] [-c COMMAND] GAME [GAME...]
#   GAME       a glimmerfin binary with its data folder beside it (build-rel/glimmerfin); give two to compare
#              builds side by side: the rounds alternate between them
#   -s         seconds measured per phase (default 20)
#   -r         rounds (default 3); the summary gives the median of each game's rounds
#   -p         save a screenshot of each phase into this folder
#   -c         also measure another program's CPU at its start screen in each round (for example supertux2)
# Needs xvfb-run, xdotool and ImageMagick's import (for -p). Best from a Release build.
set -euo pipefail

arguments=("$@")
seconds=20
rounds=3
shots=""
compare=""
while getopts "s:r:p:c:" option; do
    case "$option" in
    s) seconds="$OPTARG" ;;
    r) rounds="$OPTARG" ;;
    p) shots="$OPTARG" ;;
    c) compare="$OPTARG" ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
if [ $# -eq 0 ]; then
    sed -n '9,16p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi

# Everything runs under one X server: the script starts it once and runs itself inside it.
if [ -z "${MEASURE_PLAY_CPU_INSIDE:-}" ]; then
    for tool in xvfb-run xdotool; do
        command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install xvfb xdotool)" >&2; exit 1; }
    done
    export MEASURE_PLAY_CPU_INSIDE=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "${arguments[@]}"
fi

games=()
for game in "$@"; do games+=("$(realpath -s "$game")"); done
[ -n "$shots" ] && mkdir -p "$shots"
ticks=$(getconf CLK_TCK)
compareLabel="$(basename "${compare%% *}"):start-screen"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpuTicks() { # user + system ticks of a process and all its threads
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}
load() { cut -d' ' -f1 /proc/loadavg; }

# Frames are counted through a probe on the swap of the SDL library the game uses, when perf can place one.
sdl=$(ldconfig -p | awk '/libSDL2-2.0.so.0 / { print $NF; exit }')
probe=""
if command -v perf >/dev/null && [ -n "$sdl" ]; then
    if perf probe -l 2>/dev/null | grep -q "probe_libSDL2:SDL_GL_SwapWindow "; then
        probe=probe_libSDL2:SDL_GL_SwapWindow # placed before: left in place
    elif perf probe -q -x "$sdl" -a SDL_GL_SwapWindow 2>/dev/null; then
        probe=probe_libSDL2:SDL_GL_SwapWindow
        trap 'perf probe -q -d "$probe"; rm -rf "$work"' EXIT
    fi
fi

# "cpu fps" of process $1 over the next $seconds seconds: percent of one core, frames per second ("-" when
# they cannot be counted).
measure() {
    local before after start end frames=-
    before=$(cpuTicks "$1")
    start=$(date +%s.%N)
    if [ -n "$probe" ]; then
        frames=$(perf stat -x, -e "$probe" -p "$1" -- sleep "$seconds" 2>&1 >/dev/null | awk -F, '{ n = $1 } END { print n + 0 }')
    else
        sleep "$seconds"
    fi
    after=$(cpuTicks "$1")
    end=$(date +%s.%N)
    awk -v t="$((after - before))" -v hz="$ticks" -v a="$start" -v b="$end" -v f="$frames" \
        'BEGIN { printf "%.1f %s", t / hz / (b - a) * 100, f == "-" ? "-" : sprintf("%.0f", f / (b - a)) }'
}

# A click the game sees: it polls the button once per frame, so the button stays down for a few frames.
click() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
    sleep "${3:-1.5}"
}

shot() { [ -n "$shots" ] && import -window root "$shots/$1.png" || true; }
stop() {
    kill "$1"
    wait "$1" 2>/dev/null || true
}

# Swims as a player does: the dolphin follows the cursor while the space bar is held. The cursor leads it
# ahead, up towards the surface and down to the floor, then back the same way, so that it keeps swimming
# through the level without reaching its end, until the script is stopped.
swim() {
    local points=("700 300" "720 120" "650 480" "100 300" "80 120" "150 480")
    while true; do
        for point in "${points[@]}"; do
            xdotool mousemove $point keydown space
            sleep 1.5
        done
        xdotool keyup space
        sleep 0.7
    done
}

# One round of one game: prints the CPU and frames per second at the menu, then in play.
runGame() {
    local game="$1" label="$2" pid menu play swimmer
    export XDG_DATA_HOME="$work/home-$label"
    rm -rf "$XDG_DATA_HOME"
    mkdir -p "$XDG_DATA_HOME"
    SDL_AUDIODRIVER=dummy "$game" >"$work/$label.log" 2>&1 &
    pid=$!
    sleep 4
    click 400 300 2 # skips the logo: the main menu
    menu=$(measure "$pid")
    shot "$label-menu"
    click 180 280 # Play Game
    click 400 162 # Action
    click 104 250 3 # the first level: its comic
    click 635 568 3 # Skip: the level opens with its help page
    xdotool key --delay 100 Return
    sleep 1
    swim &
    swimmer=$!
    sleep 2
    play=$(measure "$pid")
    shot "$label-play"
    stop "$swimmer"
    xdotool keyup space
    stop "$pid"
    echo "$menu $play"
}

runCompare() {
    local pid result
    $compare >"$work/compare.log" 2>&1 &
    pid=$!
    sleep 8
    result=$(measure "$pid")
    shot "compare"
    stop "$pid"
    echo "$result"
}

line() { printf "%-6s %-46s %7s %5s %7s %5s %6s\n" "$@"; }
line round game "menu %" fps "play %" fps load
for round in $(seq 1 "$rounds"); do
    for i in "${!games[@]}"; do
        result=$(runGame "${games[$i]}" "game$i-round$round")
        line "$round" "${games[$i]}" $result "$(load)" | tee -a "$work/results"
    done
    if [ -n "$compare" ]; then
        result=$(runCompare)
        line "$round" "$compareLabel" $result - - "$(load)" | tee -a "$work/results"
    fi
done

echo
echo "medians over $rounds rounds of $seconds s:"
for game in "${games[@]}" ${compare:+"$compareLabel"}; do
    awk -v g="$game" '$2 == g { n++; for (c = 3; c <= 6; c++) v[c, n] = $c }
        function median(c,   i, j, t, a) {
            if (v[c, 1] == "-") return "-"
            for (i = 1; i <= n; i++) a[i] = v[c, i] + 0
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
            return sprintf("%.1f", n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2)
        }
        END { printf "%-53s %7s %5s %7s %5s\n", g, median(3), median(4), median(5), median(6) }' "$work/results"
done
