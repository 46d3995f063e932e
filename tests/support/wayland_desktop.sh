#!/usr/bin/env bash
# A headless Wayland desktop for the end-to-end tests: sway on wlroots' headless backend with
# the pixman renderer, PipeWire, and the desktop portals (wlr for the screenshot, gtk for the
# permission dialog), all inside one private D-Bus session.
#
#   wayland_desktop.sh FOLDER WIDTHxHEIGHT SCALE BACKGROUND.png [no-portal] [xwayland]
#
# With no-portal the desktop has no portal at all, not even one the bus could start on
# demand, as on a desktop where none is installed. With xwayland the compositor runs an X
# server for X11 clients, whose DISPLAY the environment names.
#
# FOLDER must belong to the user running this (sway will not run as root): it becomes
# XDG_RUNTIME_DIR and HOME. Once the portal answers, FOLDER/environment holds the variables a
# client needs (one NAME=VALUE a line); FOLDER/failed holds the reason when something does
# not start; FOLDER/group names the process group that holds every process of the desktop,
# the D-Bus services it activates included, so that one signal to it ends them all.
set -uo pipefail

folder=$1 size=$2 scale=$3 background=$4
portal=portal xwayland=disable
for option in "${@:5}"; do
    case $option in
        no-portal) portal=no-portal ;;
        xwayland) xwayland=force ;; # started at once rather than at its first client
    esac
done

if [ "${WAYLAND_DESKTOP_INSIDE:-}" != 1 ]; then
    [ "$(ps -o pgid= $$ | tr -d ' ')" = $$ ] || exec setsid "$0" "$@"
    echo $$ >"$folder/group"
    export WAYLAND_DESKTOP_INSIDE=1
    if [ "$portal" = no-portal ]; then
        # The bus finds the services it may start in XDG_DATA_DIRS.
        mkdir -p "$folder/no-services"
        export XDG_DATA_DIRS=$folder/no-services
    fi
    exec dbus-run-session -- "$0" "$@" 2>>"$folder/dbus.log"
fi

fail() {
    echo "$*" >"$folder/failed"
    exit 1
}

export XDG_RUNTIME_DIR=$folder HOME=$folder XDG_CONFIG_HOME=$folder/config
export XDG_CURRENT_DESKTOP=sway:GNOME XDG_SESSION_TYPE=wayland
export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
mkdir -p "$XDG_CONFIG_HOME"

cat >"$folder/sway.config" <<EOF
output HEADLESS-1 resolution $size position 0 0 scale $scale bg $background center #000000
default_border none
default_floating_border none
focus_follows_mouse no
xwayland $xwayland
EOF

pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait' EXIT
trap 'exit 0' TERM INT

sway --config "$folder/sway.config" >"$folder/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    WAYLAND_DISPLAY=$(cd "$folder" && ls wayland-[0-9] 2>/dev/null | head -n 1)
    SWAYSOCK=$(ls "$folder"/sway-ipc.*.sock 2>/dev/null | head -n 1)
    [ -n "$WAYLAND_DISPLAY" ] && [ -n "$SWAYSOCK" ] && break
    kill -0 "${pids[0]}" 2>/dev/null || fail "sway ended: $(tail -n 5 "$folder/sway.log")"
    sleep 0.1
done
[ -n "$WAYLAND_DISPLAY" ] && [ -n "$SWAYSOCK" ] || fail "sway opens no Wayland socket"
export WAYLAND_DISPLAY SWAYSOCK
if [ "$xwayland" = force ]; then
    # The compositor picks the X display and tells only the programs it starts.
    swaymsg exec "echo \$DISPLAY >$folder/display" >/dev/null
    for _ in $(seq 100); do
        DISPLAY=$(cat "$folder/display" 2>/dev/null)
        [ -n "$DISPLAY" ] && [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break
        sleep 0.1
    done
    [ -n "$DISPLAY" ] || fail "sway starts no XWayland: $(tail -n 5 "$folder/sway.log")"
    export DISPLAY
fi
dbus-update-activation-environment --all >/dev/null 2>&1 || fail "the D-Bus session takes no environment"

write_environment() {
    {
        echo "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR"
        echo "HOME=$HOME"
        echo "XDG_CONFIG_HOME=$XDG_CONFIG_HOME"
        echo "XDG_CURRENT_DESKTOP=$XDG_CURRENT_DESKTOP"
        echo "XDG_SESSION_TYPE=$XDG_SESSION_TYPE"
        echo "WAYLAND_DISPLAY=$WAYLAND_DISPLAY"
        echo "SWAYSOCK=$SWAYSOCK"
        echo "DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS"
        [ -z "${DISPLAY:-}" ] || echo "DISPLAY=$DISPLAY"
    } >"$folder/environment.part"
    mv "$folder/environment.part" "$folder/environment"
}

if [ "$portal" = no-portal ]; then
    write_environment
    wait "${pids[0]}"
    exit 0
fi

pipewire >"$folder/pipewire.log" 2>&1 &
pids+=($!)
/usr/libexec/xdg-desktop-portal-wlr >"$folder/portal-wlr.log" 2>&1 &
pids+=($!)
/usr/libexec/xdg-desktop-portal-gtk >"$folder/portal-gtk.log" 2>&1 &
pids+=($!)
/usr/libexec/xdg-desktop-portal >"$folder/portal.log" 2>&1 &
pids+=($!)

# The portal is up once its Screenshot interface reports a version.
portal_answers() {
    gdbus call --session --dest org.freedesktop.portal.Desktop \
        --object-path /org/freedesktop/portal/desktop \
        --method org.freedesktop.DBus.Properties.Get org.freedesktop.portal.Screenshot version \
        >/dev/null 2>&1
}
for _ in $(seq 100); do
    portal_answers && break
    sleep 0.1
done
portal_answers || fail "the desktop portal offers no Screenshot: $(tail -n 5 "$folder/portal.log")"

write_environment

wait "${pids[0]}"
