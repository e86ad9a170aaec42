# Test services: a headless sound server with a null sink, and a virtual display.
# start_services starts only what is not already there; stop_services stops only what it started.
STARTED_PIDS=()
STARTED_DIRS=()

# A PulseAudio server of our own, when none answers: anonymous access on a socket in a private
# folder, a null sink as default sink and its monitor as default source, so tests can play and
# capture what was played. Works as root too (it runs as an ordinary per-user server with its
# runtime folder moved). A silent stream with a 10 ms latency keeps the null sink rendering in
# small blocks; without it the sink renders in 2 s blocks and sound starts late.
sound_server_answers() {
    timeout 5 pactl info >/dev/null 2>&1
}

start_sound_server() {
    if sound_server_answers; then
        return 0
    fi
    local dir
    dir="$(mktemp -d /tmp/tonarix-pulse.XXXXXX)"
    STARTED_DIRS+=("$dir")
    mkdir -p "$dir/runtime" "$dir/state"
    export PULSE_RUNTIME_PATH="$dir/runtime"
    export PULSE_STATE_PATH="$dir/state"
    export PULSE_SERVER="unix:$dir/native"
    pulseaudio --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit -n \
        --use-pid-file=no --log-level=error --log-target=file:"$dir/server.log" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
        --load="module-null-sink sink_name=tonarix_null rate=44100 channels=2" \
        </dev/null >/dev/null 2>&1 &
    STARTED_PIDS+=($!)
    local ok=""
    for _ in $(seq 50); do
        if sound_server_answers; then ok=1; break; fi
        sleep 0.1
    done
    if [ -z "$ok" ]; then
        echo "The sound server did not start (see $dir/server.log)" >&2
        unset PULSE_SERVER
        return 1
    fi
    pactl set-default-sink tonarix_null >/dev/null || true
    pactl set-default-source tonarix_null.monitor >/dev/null || true
    pacat --playback --raw --format=s16le --rate=44100 --channels=2 --latency-msec=10 \
        --stream-name=keep-alive /dev/zero >/dev/null 2>&1 &
    STARTED_PIDS+=($!)
    sleep 2.5
}

start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    # Xvfb chooses a free display itself and says which: two test runs started at once never
    # share one display (the first to finish would take it away from the other).
    local dir n=""
    dir="$(mktemp -d /tmp/tonarix-display.XXXXXX)"
    STARTED_DIRS+=("$dir")
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
    STARTED_PIDS+=($!)
    for _ in $(seq 100); do
        n="$(head -n1 "$dir/display" 2>/dev/null)"
        [ -n "$n" ] && break
        sleep 0.1
    done
    if [ -z "$n" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "Xvfb did not start" >&2
    return 1
}

start_services() {
    start_display
    start_sound_server
}

stop_services() {
    local pid
    for pid in "${STARTED_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${STARTED_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    local dir
    for dir in "${STARTED_DIRS[@]}"; do rm -rf "$dir"; done
}
