#!/usr/bin/env bash
# How long hostsim takes from its start to its prompt, and what it holds there: hostsim with the
# add-on and the given options (--project P, --model M), its commands from a pipe, under
# /usr/bin/time -v. The prompt is reached when hostsim's CPU time stays the same for a quarter second
# (it sleeps reading the pipe); the CPU time and the resident set are read then, and `quit` is sent.
#
#   Bench/hostsim-prompt.sh BUILD_FOLDER HOME_FOLDER [HOSTSIM OPTIONS...]
#
# Prints: prompt_after_s (wall, less the quarter second) cpu_s rss_at_prompt_MB peak_MB.
set -euo pipefail

build="${1:?usage: hostsim-prompt.sh BUILD_FOLDER HOME_FOLDER [OPTIONS...]}"
home="${2:?usage: hostsim-prompt.sh BUILD_FOLDER HOME_FOLDER [OPTIONS...]}"
shift 2
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkfifo "$scratch/commands"

start=$(date +%s.%N)
/usr/bin/time -v "$build/bin/hostsim" --home "$home" "$@" "$build/bin/VELDEngineerConnection.apx" \
    <"$scratch/commands" >/dev/null 2>"$scratch/time.log" &
timer=$!
exec 3>"$scratch/commands"
pid=""
while [ -z "$pid" ]; do
    kill -0 "$timer" 2>/dev/null || { cat "$scratch/time.log" >&2; echo "hostsim ended before its prompt" >&2; exit 1; }
    sleep 0.05
    pid=$(pgrep -P "$timer" hostsim || true)
done

ticks=$(getconf CLK_TCK)
last=-1
steady=0
while [ "$steady" -lt 5 ]; do
    cpu=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    if [ "$cpu" = "$last" ]; then steady=$((steady + 1)); else steady=0; last=$cpu; fi
    sleep 0.05
done
now=$(date +%s.%N)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
printf 'quit\nquit\n' >&3
exec 3>&-
wait "$timer" || echo "hostsim ended with exit code $?" >&2
peak=$(awk '/Maximum resident/ {print $6}' "$scratch/time.log")
echo "prompt_after_s=$(echo "$now - $start - 0.25" | bc) cpu_s=$(echo "scale=2; $last / $ticks" | bc)" \
    "rss_at_prompt_MB=$((rss / 1024)) peak_MB=$((peak / 1024))"
