#!/usr/bin/env bash
# Stops the sound server soundserver-start.sh DIR started, if it runs.
dir=$1
if [ -f "$dir/pid" ]; then
    kill "$(cat "$dir/pid")" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$(cat "$dir/pid")" 2>/dev/null || true
    rm -f "$dir/pid"
fi
exit 0
