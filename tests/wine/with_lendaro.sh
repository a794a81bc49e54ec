#!/usr/bin/env bash
# with_lendaro.sh SIM COMMAND...: runs COMMAND while lendaro-sim serves on
# loopback at free ports. The test finds it through LENDARO_DIR (its control,
# scanner and log files), LENDARO_UDP and LENDARO_TCP; the simulator is
# stopped by its pid when COMMAND ends.
set -euo pipefail
sim=$1
shift
dir=$(mktemp -d)
"$sim" --udp-port 0 --tcp-port 0 --ports-file "$dir/ports" --control "$dir/control" --log "$dir/log" \
  --scanner "$dir/scanner" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$dir"' EXIT
for _ in $(seq 200); do
  [ -f "$dir/ports" ] && break
  sleep 0.05
done
read -r udp tcp <"$dir/ports"
export LENDARO_DIR=$dir LENDARO_UDP=$udp LENDARO_TCP=$tcp
"$@"
