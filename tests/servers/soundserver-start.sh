#!/usr/bin/env bash
# Starts a private PulseAudio sound server for the tests: a null output and a 440 Hz sine source
# named "sine", reachable only through the socket DIR/native. Stopped by soundserver-stop.sh DIR.
set -euo pipefail
dir=$1
"$(dirname "$0")/soundserver-stop.sh" "$dir"
mkdir -p "$dir/runtime" "$dir/home"
export XDG_RUNTIME_DIR="$dir/runtime" HOME="$dir/home" PULSE_RUNTIME_PATH="$dir/runtime"
setsid pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=false \
    --disable-shm=true --log-target=file:"$dir/server.log" \
    -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
    -L "module-null-sink sink_name=silence" \
    -L "module-sine-source source_name=sine rate=48000 frequency=440" \
    </dev/null >/dev/null 2>&1 &
echo $! >"$dir/pid"
for _ in $(seq 100); do
    if PULSE_SERVER="unix:$dir/native" pactl info >/dev/null 2>&1; then
        exit 0
    fi
    sleep 0.1
done
echo "the test sound server did not start; its log:" >&2
cat "$dir/server.log" >&2 || true
exit 1
