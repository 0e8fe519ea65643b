#!/usr/bin/env bash
# Soak: gasmixer-run against the simulator for hours, through every mixing
# method, Flush, Bypass and Stop, with faults switched on and off meanwhile.
# Reports crashes, stored rows against the store cadence, the safe state at
# the end and the runner's resident memory.
#
#   bench/soak.sh HOURS                 e.g. 1, 24 or 0.1
#   bench/soak.sh --minutes M           a short trial
# Options: --build DIR (default build), --out DIR (default a new temporary
# folder, kept), --fault-every MIN (default 3; 0 for a run without faults,
# where any delivery alarm is a false one), --seed N.
set -euo pipefail
trap 'echo "soak.sh: failed at line $LINENO" >&2' ERR

usage() { sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }

repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build" out="" minutes="" fault_every=3 seed=$$
while (($#)); do
    case "$1" in
    --minutes) minutes=${2:?}; shift 2 ;;
    --build) build=${2:?}; shift 2 ;;
    --out) out=${2:?}; shift 2 ;;
    --fault-every) fault_every=${2:?}; shift 2 ;;
    --seed) seed=${2:?}; shift 2 ;;
    -h|--help) usage ;;
    -*) echo "soak.sh: unknown option $1" >&2; usage ;;
    *) [[ -z $minutes ]] || usage; minutes=$(awk -v h="$1" 'BEGIN { print h * 60 }'); shift ;;
    esac
done
[[ -n $minutes ]] || usage
awk -v m="$minutes" 'BEGIN { exit !(m > 0) }' || { echo "soak.sh: the duration must be positive" >&2; exit 2; }
RANDOM=$seed
run_bin="$build/bin/gasmixer-run" sim_bin="$build/bin/gasmixer-sim"
[[ -x $run_bin && -x $sim_bin ]] || { echo "soak.sh: build gasmixer-run and gasmixer-sim into $build first" >&2; exit 2; }
out=${out:-$(mktemp -d /tmp/gasmixer-soak.XXXXXX)}
mkdir -p "$out"
duration_s=$(awk -v m="$minutes" 'BEGIN { printf "%d", m * 60 }')

# ---- The program: the fifteen methods with O2 as gas A in Ar, then Flush,
# Bypass and Stop, cycled to fill the time. Values picked with gasmixer-plan
# for the simulated controllers.
cycle=(
    "mixture;0;0;0.7"          # B pure
    "mixture;0;5000;"          # B/H2O
    "mixture;100;0;"           # A (pulse) in B
    "mixture;100;5000;"        # A (pulse) in B/H2O
    "mixture;2000;0;"          # A (constant) in B
    "mixture;2000;5000;"       # A (constant) in B/H2O
    "mixture;200000;0;"        # A in B (limited)
    "mixture;200000;5000;"     # A in B/H2O (limited)
    "mixture;800000;0;"        # B (constant) in A
    "mixture;800000;3000;"     # B/H2O (constant) in A
    "mixture;950000;0;"        # B (pulse) in A
    "mixture;950000;1000;"     # B/H2O (pulse) in A
    "mixture;600000;0;0.05"    # B in A (limited)
    "mixture;600000;500;0.05"  # B/H2O in A (limited)
    "mixture;1000000;0;"       # A pure
    "flush;;;"
    "bypass;;;"
    "stop;;;"
)
# A cycle an hour at most; steps of at least 20 s, so the flush sequence
# (10 s) fits in its step.
step_min=$(awk -v m="$minutes" -v n=${#cycle[@]} 'BEGIN { s = (m < 60 ? m : 60) / n; if (s < 1/3) s = 1/3; printf "%.4f", s }')
steps=$(awk -v m="$minutes" -v s="$step_min" 'BEGIN { printf "%d", m / s }')
((steps >= 1)) || steps=1
{
    echo "step;a_ppm;h2o_ppm;b_limit;minutes"
    for ((i = 0; i < steps; ++i)); do echo "${cycle[i % ${#cycle[@]}]};$step_min"; done
    echo "stop;;;;0"
} >"$out/program.csv"

# ---- The simulator, its commands through a FIFO, its valve and setpoint
# frames kept for the end state.
cleanup() {
    [[ -n ${run_pid:-} ]] && kill "$run_pid" 2>/dev/null || true
    [[ -n ${sim_pid:-} ]] && kill "$sim_pid" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
mkfifo "$out/commands"
exec 3<>"$out/commands"
"$sim_bin" --verbose <"$out/commands" >"$out/sim.out" \
    2> >(grep --line-buffered -E 'relay-board <- FE 28|mfc-line <- 0[12] 10 00 06|gone|back at' >"$out/sim-frames.log") &
sim_pid=$!
for _ in $(seq 50); do [[ $(wc -l <"$out/sim.out") -ge 2 ]] && break; sleep 0.1; done
# The runner opens the ports by the simulator's registry links, which follow
# a vanished line when it comes back.
registry="${XDG_RUNTIME_DIR:-/tmp}/gasmixer-sim-$(id -u)/$sim_pid"
mfc="$registry/mfc-line" relay="$registry/relay-board"
[[ -L $mfc && -L $relay ]] || { echo "soak.sh: the simulator did not start" >&2; exit 1; }

started=$(date +%s)
XDG_STATE_HOME="$out/state" "$run_bin" "$out/program.csv" --relay-port "$relay" --mfc-port "$mfc" \
    --gas-a O2 --gas-b Ar --save "$out/table.csv" >"$out/run.out" 2>"$out/run.err" &
run_pid=$!

# ---- Faults on and off; memory each minute. Faults stop two minutes (or a
# fifth of a short run) before the end, so the close meets a healthy line.
# A vanished line comes back with the clear.
faults=("mfc1 silent" "mfc2 silent" "relay silent" "mfc1 badcrc" "relay badcrc" "mfc2 garbage"
        "relay garbage" "mfc1 truncated" "mfc2 delayed 300" "mfc1 vanish" "relay vanish")
quiet_s=$((duration_s / 5 < 120 ? duration_s / 5 : 120))
fault_gap_s=$(awk -v f="$fault_every" 'BEGIN { printf "%d", f * 60 }')
next_fault=$fault_gap_s fault_off=-1 next_sample=0
: >"$out/rss.log"
: >"$out/faults.log"
while kill -0 "$run_pid" 2>/dev/null; do
    now=$(($(date +%s) - started))
    if ((now >= next_sample)); then
        rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$run_pid/status" 2>/dev/null || true)
        [[ -n $rss ]] && echo "$now $rss" >>"$out/rss.log"
        next_sample=$((next_sample + 60))
    fi
    if ((fault_off >= 0 && now >= fault_off)); then
        echo "clear all" >&3; echo "$now clear all" >>"$out/faults.log"; fault_off=-1
    fi
    if ((fault_gap_s > 0 && now >= next_fault && now < duration_s - quiet_s)); then
        f=${faults[RANDOM % ${#faults[@]}]}
        echo "fault $f" >&3; echo "$now fault $f" >>"$out/faults.log"
        fault_off=$((now + 20 + RANDOM % 40))
        next_fault=$((now + fault_gap_s / 2 + RANDOM % (fault_gap_s + 1)))
    fi
    ((now > duration_s + 600)) && { echo "soak.sh: the run overran by 10 minutes; stopping it" >&2; kill "$run_pid"; }
    sleep 1
done
run_status=0
wait "$run_pid" || run_status=$?
run_pid=""
echo "clear all" >&3
sleep 1
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=""
exec 3>&-
sleep 0.5  # the frame filter drains

# ---- The figures.
rows_printed=$(grep -c '^row;' "$out/run.out" || true)
# Data rows of the saved table: after the separator and the header, Reset marks left out.
rows_saved=$(awk -F';' '/^\*\*\*\*\*\*\*\*\*/ { seen = 1; next } seen && !header { header = 1; next }
    seen && $1 != "" { ++n } END { print n + 0 }' "$out/table.csv" 2>/dev/null || echo 0)
# Rows the cadence implies: in Dilution and Bypass a row at least every store
# interval (1 min) plus a tick; a longer gap between rows of one step is
# counted as the rows it lost.
missing=$(awk -F';' '
    function secs(t,  a) { split(t, a, ":"); return a[1] * 3600 + a[2] * 60 + a[3] }
    /^step;/ { last = -1; next }
    /^row;/ {
        s = secs($2); if (last >= 0 && s < last) s += 86400
        if (($3 == "Dilution" || $3 == "Bypass") && last >= 0 && mode == $3 && s - last > 62) lost += int((s - last) / 61)
        last = s; mode = $3
    }
    END { print lost + 0 }' "$out/run.out")
dilution_steps=$(grep -c '^step;[0-9]*;[0-9]*;mixture;' "$out/run.out" || true)
# The last valve command and each controller's last setpoint.
last_valves=$(grep 'relay-board <- FE 28' "$out/sim-frames.log" | tail -1 | awk '{ print $5 }' || true)
last_sp1=$(grep 'mfc-line <- 01 10 00 06' "$out/sim-frames.log" | tail -1 | awk '{ print $10 $11 $12 $13 }' || true)
last_sp2=$(grep 'mfc-line <- 02 10 00 06' "$out/sim-frames.log" | tail -1 | awk '{ print $10 $11 $12 $13 }' || true)
safe=no
[[ $last_valves == 00 && $last_sp1 == 00000000 && $last_sp2 == 00000000 ]] && safe=yes
vanished=$(grep -c 'gone' "$out/sim-frames.log" || true)
came_back=$(grep -c 'back at' "$out/sim-frames.log" || true)
rss_ref_s=$((duration_s >= 1200 ? 600 : duration_s / 6))
rss_ref=$(awk -v t="$rss_ref_s" '$1 >= t { print $2; exit }' "$out/rss.log")
rss_end=$(tail -1 "$out/rss.log" | awk '{ print $2 }' || true)
growth=$(awk -v a="${rss_ref:-0}" -v b="${rss_end:-0}" 'BEGIN { if (a > 0) printf "%.1f", (b - a) * 100 / a; else print "n/a" }')
# Killed by a signal (abort, segmentation fault...) is a crash; any other
# failing status is the runner refusing or failing the run, shown as it is.
crashes=0
((run_status < 128)) || crashes=1
alarms=$(grep -c '^alarm;.* short: ' "$out/run.out" || true)

cat <<EOF | tee "$out/report.txt"
Soak of $minutes min (seed $seed), files in $out
  program            : $steps steps of $step_min min, $dilution_steps mixture steps begun
  runner exit status : $run_status
  crashes            : $crashes (target 0)
  faults switched    : $(grep -c ' fault ' "$out/faults.log" || true) on, each cleared after 20-60 s; a line vanished $vanished times and came back $came_back times
  rows printed       : $rows_printed; rows in the saved table: $rows_saved
  rows missing       : $missing by the store cadence (target 0)
  delivery alarms    : $alarms$( ((fault_gap_s > 0)) && echo " (faults may cost a setpoint: not judged)" || echo " (target 0 without faults)")
  end state          : last valve mask ${last_valves:-none}, last setpoints MFC 1 ${last_sp1:-none}, MFC 2 ${last_sp2:-none}; safe: $safe
  resident memory    : ${rss_ref:-?} kB at $((rss_ref_s / 60)) min $((rss_ref_s % 60)) s, ${rss_end:-?} kB at the end; growth $growth % (target below 5 %)
EOF
ok=0
[[ $run_status == 0 && $missing == 0 && $safe == yes ]] || ok=1
((fault_gap_s > 0 || alarms == 0)) || ok=1
exit $ok
