# Sourced by the scripts in tools/: an X screen of their own, and the build's own
# Wine prefixes (null: the in-process tests, no display needed; null-144dpi: the same
# at 150% display scale; x11: the program and the black-box tests on an X screen).
#
#   start_screen              Xvfb on a free display, DISPLAY exported; stop_screen ends it
#   prepare_prefixes BUILD    makes the prefixes once
#   start_wine BUILD          a kept-alive wineserver per prefix; stop_wine BUILD ends them
#   wine_prefix BUILD NAME    the prefix null, null-144dpi or x11

screen_pid=

# Xvfb picks the display itself (-displayfd): it takes the first whose lock it can get
# and says which, so two scripts starting screens at once never share one.
start_screen() {
    local number
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    screen_pid=$!
    for _ in $(seq 300); do
        if [ -s "$number" ]; then
            export DISPLAY=":$(head -n1 "$number")"
            rm -f "$number"
            return 0
        fi
        kill -0 "$screen_pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number"
    stop_screen
    echo "Xvfb didn't start" >&2
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
    # Q: is a second drive letter for C:, as subst makes one, for the tests of a folder
    # reached by two paths.
    ln -sfn ../drive_c "$(wine_prefix "$1" null)/dosdevices/q:"
}

# A process that holds a window keeps each wineserver up, so CTest's test processes
# start in milliseconds and no Wine helper inherits their pipes. It says "ready" once
# its window is made; until then a test process could be the one to start the server.
# The x11 prefix needs a screen.
start_wine() ( # build
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    keepalive=$1/tools/wine_keepalive.exe
    drivers=(null null-144dpi)
    [ -z "${DISPLAY:-}" ] || drivers+=(x11)
    for driver in "${drivers[@]}"; do
        prefix=$(wine_prefix "$1" "$driver")
        rm -f "$prefix/keepalive.out"
        WINEPREFIX=$prefix setsid wine "$keepalive" </dev/null >"$prefix/keepalive.out" 2>&1 &
    done
    for driver in "${drivers[@]}"; do
        prefix=$(wine_prefix "$1" "$driver")
        for _ in $(seq 1200); do
            grep -qs ready "$prefix/keepalive.out" && continue 2
            sleep 0.1
        done
        echo "the wineserver of $prefix didn't come up" >&2
        exit 1
    done
)

# Waits until each server has gone, so that a run started next never joins a dying one.
stop_wine() { # build
    local driver
    for driver in null null-144dpi x11; do
        WINEPREFIX=$(wine_prefix "$1" "$driver") wineserver -k 2>/dev/null || true
        WINEPREFIX=$(wine_prefix "$1" "$driver") wineserver -w 2>/dev/null || true
    done
}
