#!/usr/bin/env bash
# Runs the program against a simulated QMX-400 (qmx-sim --preset demo: COM1, 9600 7E1, maker's
# protocol, instrument 00, standard model, live values).
#   tools/run-demo.sh BUILD_DIR [program arguments...]
# QMX_SIM_LOG=FILE keeps the simulator's wire log in FILE (by default it goes with the temp dir).
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [program arguments...]" >&2
  exit 2
fi
build="$(cd "$1" && pwd)"
shift
sim="$build/tools/qmx-sim"
program="$build/dfx-qmx07k"
for f in "$sim" "$program"; do
  if [ ! -x "$f" ]; then
    echo "run-demo.sh: $f is missing; build first" >&2
    exit 1
  fi
done

dir="$(mktemp -d "${TMPDIR:-/tmp}/qmx-demo.XXXXXX")"
log="${QMX_SIM_LOG:-$dir/wire.log}"
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill -TERM "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The simulator says READY once every port link exists; read it through a fifo kept open so the
# simulator never writes into a closed pipe.
mkfifo "$dir/ready"
"$sim" --dir "$dir" --preset demo --log "$log" --control "$dir/control" >"$dir/ready" &
sim_pid=$!
exec 3<"$dir/ready"
if ! read -r -t 10 line <&3 || [ "$line" != "READY" ]; then
  echo "run-demo.sh: the simulator did not start" >&2
  exit 1
fi
echo "run-demo.sh: simulated QMX-400 on $dir/COM1 (control socket $dir/control, log $log)" >&2

# The demo keeps its link settings apart: those saved for a real controller (another port,
# protocol or instrument) would miss the simulated one. Set-data files go where they always go.
mkdir -p "$dir/config"
status=0
QMX_PORT_DIR="$dir" XDG_CONFIG_HOME="$dir/config" "$program" "$@" || status=$?
exit "$status"
