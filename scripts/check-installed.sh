#!/usr/bin/env bash
# Installs build/gasmixer_*.deb, runs the installed commands once from
# /usr/bin, and removes the package again, whatever the outcome.
#   - gasmixer-plan --version
#   - a short gasmixer-run program against the installed gasmixer-sim
#   - gasmixer on the offscreen platform, closed by SIGTERM with exit 0
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(build/gasmixer_*.deb)
[[ -f ${packages[0]} ]] || { echo "check-installed.sh: no package in build/ (scripts/package.sh)" >&2; exit 2; }
sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
if dpkg-query -W -f='${Status}' gasmixer 2>/dev/null | grep -q "install ok installed"; then
    echo "check-installed.sh: gasmixer is installed already; not touching it" >&2
    exit 2
fi

scratch=$(mktemp -d /tmp/gasmixer-installed.XXXXXX)
sim_pid=""
cleanup() {
    [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y -qq --purge gasmixer >/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
export XDG_STATE_HOME="$scratch/state" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "./${packages[0]}" >/dev/null
echo "Installed: $(dpkg-query -W -f='${Package} ${Version}' gasmixer)"
for file in /usr/bin/gasmixer /usr/bin/gasmixer-run /usr/bin/gasmixer-plan /usr/bin/gasmixer-sim \
            /usr/share/applications/gasmixer.desktop /usr/share/icons/hicolor/scalable/apps/gasmixer.svg \
            /usr/share/man/man1/gasmixer.1.gz /usr/share/man/man1/gasmixer-run.1.gz \
            /usr/share/doc/gasmixer/README.md /usr/share/doc/gasmixer/70-gasmixer.rules; do
    [[ -e $file ]] || { echo "check-installed.sh: $file is missing" >&2; exit 1; }
done

version=$(/usr/bin/gasmixer-plan --version)
echo "gasmixer-plan --version: $version"
[[ $version == "gasmixer-plan "* ]]

# A short program on the installed simulator.
/usr/bin/gasmixer-sim --no-pacing >"$scratch/sim.out" 2>"$scratch/sim.err" &
sim_pid=$!
registry="$XDG_RUNTIME_DIR/gasmixer-sim-$(id -u)/$sim_pid"
for _ in $(seq 100); do [[ -L $registry/relay-board ]] && break; sleep 0.1; done
[[ -L $registry/relay-board ]] || { echo "check-installed.sh: the simulator did not start" >&2; exit 1; }
printf 'step;a_ppm;h2o_ppm;b_limit;minutes\nmixture;2000;0;;0.25\nstop;;;;0\n' >"$scratch/program.csv"
(cd "$scratch" && /usr/bin/gasmixer-run program.csv --relay-port "$registry/relay-board" \
    --mfc-port "$registry/mfc-line" --gas-a O2 --gas-b N2 --save table.csv >run.out 2>run.err) ||
    { echo "check-installed.sh: gasmixer-run failed" >&2; cat "$scratch/run.err" >&2; exit 1; }
rows=$(grep -c '^row;' "$scratch/run.out" || true)
echo "gasmixer-run: $(wc -l <"$scratch/table.csv") lines saved, $rows rows printed"
((rows >= 1))
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=""

# The window, closed by a signal as a session's end closes it.
QT_QPA_PLATFORM=offscreen /usr/bin/gasmixer >"$scratch/window.out" 2>&1 &
window_pid=$!
sleep 5
kill -0 "$window_pid" || { echo "check-installed.sh: gasmixer ended by itself" >&2; cat "$scratch/window.out" >&2; exit 1; }
kill -TERM "$window_pid"
status=0
wait "$window_pid" || status=$?
echo "gasmixer closed by SIGTERM with exit status $status"
((status == 0))
echo "The installed package works; removing it."
