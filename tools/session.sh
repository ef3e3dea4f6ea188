# Sourced by the scripts in tools/: an X screen of their own, and the build's own
# Wine prefixes (null: the in-process tests, no display needed; null-144dpi: the same
# at 150% display scale; x11: the program and the black-box tests on an X screen).
#
#   start_screen              Xvfb on a free display, DISPLAY exported; stop_screen ends it
#   prepare_prefixes BUILD    makes the prefixes once
#   start_wine BUILD          a kept-alive wineserver per prefix; stop_wine BUILD ends them
#   wine_prefix BUILD NAME    the prefix null, null-144dpi or x11

screen_pid=

# Another script may take the display we picked at the same moment; then our Xvfb
# ends at once and the next free one is tried.
start_screen() {
    local n
    for n in $(seq 90 199); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        screen_pid=$!
        for _ in $(seq 50); do
            kill -0 "$screen_pid" 2>/dev/null || break
            if [ -e "/tmp/.X11-unix/X$n" ]; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.1
        done
        kill "$screen_pid" 2>/dev/null || true
        screen_pid=
    done
    echo "no X display free for Xvfb" >&2
    return 1
}

stop_screen() {
    [ -z "$screen_pid" ] || kill "$screen_pid" 2>/dev/null || true
    screen_pid=
}

wine_prefix() { # build driver
    echo "$(cd "$1" && pwd)/wine/$2"
}

prepare_prefix() ( # dir driver [dpi]
    dir=$1
    [ -f "$dir/.lorebinder-ready" ] && exit 0
    rm -rf "$dir"
    mkdir -p "$dir"
    export WINEPREFIX=$dir WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset DISPLAY
    wineboot -i >/dev/null 2>&1
    if [ "$2" = null ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    else
        # No window manager under Xvfb: Wine manages and decorates its own windows.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    fi
    if [ -n "${3:-}" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$3" /f >/dev/null 2>&1
    fi
    # A wineserver started without a display lingers; a program started on the
    # screen meanwhile would join it and fail to make windows.
    wineserver -w
    touch "$dir/.lorebinder-ready"
)

prepare_prefixes() { # build
    prepare_prefix "$(wine_prefix "$1" null)" null
    prepare_prefix "$(wine_prefix "$1" null-144dpi)" null 144
    prepare_prefix "$(wine_prefix "$1" x11)" x11
}

# A process that holds a window keeps each wineserver up, so CTest's test processes
# start in milliseconds and no Wine helper inherits its pipes. The x11 prefix needs
# a screen.
start_wine() ( # build
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    keepalive=$1/tools/wine_keepalive.exe
    WINEPREFIX=$(wine_prefix "$1" null) setsid wine "$keepalive" </dev/null >/dev/null 2>&1 &
    WINEPREFIX=$(wine_prefix "$1" null-144dpi) setsid wine "$keepalive" </dev/null >/dev/null 2>&1 &
    if [ -n "${DISPLAY:-}" ]; then
        WINEPREFIX=$(wine_prefix "$1" x11) setsid wine "$keepalive" </dev/null >/dev/null 2>&1 &
    fi
    sleep 1
)

stop_wine() { # build
    WINEPREFIX=$(wine_prefix "$1" null) wineserver -k 2>/dev/null || true
    WINEPREFIX=$(wine_prefix "$1" null-144dpi) wineserver -k 2>/dev/null || true
    WINEPREFIX=$(wine_prefix "$1" x11) wineserver -k 2>/dev/null || true
}
