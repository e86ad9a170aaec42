# Test services: two sound servers of the run's own, PulseAudio and PipeWire (with its PulseAudio
# layer), each with a null sink as default sink, and a virtual display when none answers.
# start_services exports where the servers listen:
#   TONARIX_PULSEAUDIO_SERVER, TONARIX_PIPEWIRE_SERVER   unix:<socket> of each server
#   PULSE_SERVER                                         the PulseAudio one
# PipeWire's graph runs at TONARIX_PIPEWIRE_RATE (48000 unless set, as PipeWire's own default), in
# blocks (quanta) as its streams ask, or always of TONARIX_PIPEWIRE_QUANTUM frames when that is set.
# stop_services stops what start_services started and removes its folders.
#
# The sound servers are always the run's own, never one that already answers: a desktop's server
# may be PipeWire or PulseAudio, has its own sinks, volumes and latencies, and would hear the tests.
# Everything of theirs (sockets, runtime and state folders, bus, configuration) lives in one private
# folder per run, so two runs at once share nothing; as root they run as ordinary per-user servers.
# Logs go to <build>/service-logs (or the private folder when no build folder is known).
STARTED_PIDS=()
STARTED_DIRS=()
SERVICES_DIR=""
SERVICE_LOGS=""

# Put before a server's command, with DBUS_SESSION_BUS_ADDRESS=<a bus of its own, or a socket that
# does not exist>: the server has no way to a desktop's session bus. With DISPLAY set and no bus,
# libdbus would launch a bus for the X display (dbus-launch, from dbus-x11), which can take seconds
# and leaves a bus behind.
WITHOUT_DESKTOP=(env -u DISPLAY -u WAYLAND_DISPLAY -u XAUTHORITY)

server_answers() {
    PULSE_SERVER="$1" timeout 5 pactl info >/dev/null 2>&1
}

# wait_for <seconds> <command...>: true once the command succeeds.
wait_for() {
    local tries=$(($1 * 10))
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# A server that did not come up: say so, with the end of its log.
start_failed() {
    echo "$1 did not start; the end of $2:" >&2
    tail -n 20 "$2" >&2 2>/dev/null || true
    return 1
}

# PulseAudio: anonymous access on a socket in its folder, a null sink at 44.1 kHz as default sink
# (its monitor as default source), no session bus.
start_pulseaudio() {
    local dir="$SERVICES_DIR/pulseaudio" log="$SERVICE_LOGS/pulseaudio.log"
    mkdir -p "$dir/runtime" "$dir/state"
    "${WITHOUT_DESKTOP[@]}" DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/no-bus" \
        PULSE_RUNTIME_PATH="$dir/runtime" PULSE_STATE_PATH="$dir/state" \
        pulseaudio --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit -n \
        --use-pid-file=no --log-level=warning --log-target=file:"$log" \
        --load="module-null-sink sink_name=tonarix_null rate=44100 channels=2" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
        </dev/null >/dev/null 2>&1 &
    STARTED_PIDS+=($!)
    export TONARIX_PULSEAUDIO_SERVER="unix:$dir/native"
    wait_for 10 server_answers "$TONARIX_PULSEAUDIO_SERVER" || { start_failed PulseAudio "$log"; return 1; }
    PULSE_SERVER="$TONARIX_PULSEAUDIO_SERVER" pactl set-default-sink tonarix_null
    PULSE_SERVER="$TONARIX_PULSEAUDIO_SERVER" pactl set-default-source tonarix_null.monitor
}

# The PipeWire configuration of Debian's package, less what reaches outside the private folder
# (the desktop portal, the X11 bell) and less the settings for virtual machines (a larger smallest
# quantum there), so that the server behaves alike on every machine, as on a desktop's hardware.
private_pipewire_conf() {
    awk '!drop && /^[[:space:]]*(vm\.overrides[[:space:]]*=|\{ name = libpipewire-module-(portal|x11-bell)[[:space:]]*$)/ { depth = 0; drop = 1 }
        drop { depth += gsub(/\{/, "{") - gsub(/\}/, "}"); if (depth <= 0) drop = 0; next }
        { print }' "/usr/share/pipewire/$1"
}

# The graph's clock as asked: its one rate, and a quantum forced on every stream when one is given
# (the smallest, largest and default quantum all the same).
pipewire_clock() {
    local rate="${TONARIX_PIPEWIRE_RATE:-48000}" quantum="${TONARIX_PIPEWIRE_QUANTUM:-}"
    awk -v rate="$rate" -v quantum="$quantum" '
        /^context\.properties[[:space:]]*=[[:space:]]*\{/ { inside = 1 }
        inside && /^\}/ {
            print "    default.clock.rate = " rate
            print "    default.clock.allowed-rates = [ " rate " ]"
            if (quantum != "")
                print "    default.clock.quantum = " quantum "\n    default.clock.min-quantum = " quantum "\n    default.clock.max-quantum = " quantum
            inside = 0
        }
        { print }'
}

default_sink_is() {
    [ "$(PULSE_SERVER="$1" timeout 5 pactl get-default-sink 2>/dev/null)" = "$2" ]
}

# PipeWire as a desktop runs it: pipewire with a null sink, WirePlumber as session manager and
# pipewire-pulse, at the clock asked for (pipewire_clock). A session bus of its own; the
# runtime, state and configuration folders are private, and WirePlumber's device monitors (ALSA,
# Bluetooth, V4L2, libcamera) are off: no real device is ever opened.
start_pipewire() {
    local dir="$SERVICES_DIR/pipewire"
    mkdir -p "$dir/runtime" "$dir/state" "$dir/config/wireplumber/main.lua.d" \
        "$dir/config/wireplumber/bluetooth.lua.d"
    chmod 700 "$dir/runtime"
    cat >"$dir/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$dir/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    {
        # (Read to the end: a reader that quits early would leave awk a broken pipe, which
        # pipefail turns into a silent exit of the whole script.)
        private_pipewire_conf pipewire.conf | pipewire_clock | sed -n '1,/^context\.objects\s*=\s*\[/p'
        cat <<EOF
    { factory = adapter
        args = {
            factory.name     = support.null-audio-sink
            node.name        = tonarix_null
            node.description = "Tonarix null sink"
            media.class      = Audio/Sink
            audio.position   = [ FL FR ]
            monitor.channel-volumes = true
            object.linger    = true
        }
    }
EOF
        private_pipewire_conf pipewire.conf | sed '1,/^context\.objects\s*=\s*\[/d'
    } >"$dir/pipewire.conf"
    private_pipewire_conf pipewire-pulse.conf |
        sed "s|\"unix:native\"|\"unix:$dir/native\"|" >"$dir/pipewire-pulse.conf"
    # Sorted after the package's 50-*-config.lua, before its 90-enable-all.lua.
    printf '%s\n' 'alsa_monitor.enabled = false' 'v4l2_monitor.enabled = false' \
        'libcamera_monitor.enabled = false' >"$dir/config/wireplumber/main.lua.d/51-no-devices.lua"
    echo 'bluez_monitor.enabled = false' >"$dir/config/wireplumber/bluetooth.lua.d/51-no-devices.lua"

    local -a env=("${WITHOUT_DESKTOP[@]}" DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/bus"
        XDG_RUNTIME_DIR="$dir/runtime" PIPEWIRE_RUNTIME_DIR="$dir/runtime" XDG_STATE_HOME="$dir/state"
        XDG_CONFIG_HOME="$dir/config" PULSE_RUNTIME_PATH="$dir/runtime/pulse")
    "${env[@]}" dbus-daemon --config-file="$dir/bus.conf" --nofork --nopidfile \
        </dev/null >"$SERVICE_LOGS/pipewire-bus.log" 2>&1 &
    STARTED_PIDS+=($!)
    wait_for 10 test -S "$dir/bus" || { start_failed "The session bus for PipeWire" "$SERVICE_LOGS/pipewire-bus.log"; return 1; }
    "${env[@]}" pipewire -c "$dir/pipewire.conf" \
        </dev/null >"$SERVICE_LOGS/pipewire.log" 2>&1 &
    STARTED_PIDS+=($!)
    wait_for 10 test -S "$dir/runtime/pipewire-0" || { start_failed PipeWire "$SERVICE_LOGS/pipewire.log"; return 1; }
    "${env[@]}" wireplumber </dev/null >"$SERVICE_LOGS/wireplumber.log" 2>&1 &
    STARTED_PIDS+=($!)
    "${env[@]}" pipewire -c "$dir/pipewire-pulse.conf" \
        </dev/null >"$SERVICE_LOGS/pipewire-pulse.log" 2>&1 &
    STARTED_PIDS+=($!)
    export TONARIX_PIPEWIRE_SERVER="unix:$dir/native"
    wait_for 10 server_answers "$TONARIX_PIPEWIRE_SERVER" || { start_failed pipewire-pulse "$SERVICE_LOGS/pipewire-pulse.log"; return 1; }
    # WirePlumber makes the null sink the default one once it has seen it.
    wait_for 10 default_sink_is "$TONARIX_PIPEWIRE_SERVER" tonarix_null ||
        start_failed "WirePlumber (no default sink)" "$SERVICE_LOGS/wireplumber.log"
}

start_sound_servers() {
    SERVICES_DIR="$(mktemp -d /tmp/tonarix-services.XXXXXX)"
    STARTED_DIRS+=("$SERVICES_DIR")
    if [ -n "${BUILD_DIR:-}" ]; then
        SERVICE_LOGS="$BUILD_DIR/service-logs"
        rm -rf "$SERVICE_LOGS"
    else
        SERVICE_LOGS="$SERVICES_DIR/logs"
    fi
    mkdir -p "$SERVICE_LOGS"
    start_pulseaudio
    start_pipewire
    export PULSE_SERVER="$TONARIX_PULSEAUDIO_SERVER"
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
    start_sound_servers
}

# Stops the services in the reverse order of their start (pipewire-pulse and WirePlumber before
# PipeWire, PipeWire before its bus): each is asked to end, and killed if it has not after 5 s.
stop_services() {
    local i pid
    for ((i = ${#STARTED_PIDS[@]} - 1; i >= 0; i--)); do
        pid="${STARTED_PIDS[$i]}"
        kill "$pid" 2>/dev/null || continue
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    local dir
    for dir in "${STARTED_DIRS[@]}"; do rm -rf "$dir"; done
    STARTED_PIDS=()
    STARTED_DIRS=()
}
