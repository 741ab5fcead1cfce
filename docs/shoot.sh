# Sourced by the screenshot scripts, which set `docs` first.

# $work: a new folder holding the program of folder $bin and a fresh archive.
new_work() {
    work=$(mktemp -d)
    cp "$bin/velmoro" "$work/"
    "$bin/archive-tool" make "$work/Archivio.xls"
}

# A window manager that places windows without waiting for the mouse, then the program in
# folder $1 until its main window is up; $main is that window.
start_velmoro() {
    rc=$(mktemp)
    printf 'RandomPlacement\nUsePPosition "on"\nNoGrabServer\n' > "$rc"
    twm -f "$rc" >/dev/null 2>&1 &
    wm=$!
    sleep 1
    "$1/velmoro" &
    program=$!
    main=$(xdotool search --sync --name "Gestione Velmoro" | head -1)
    sleep 1
}

# Window $1, moved near the corner, saved with its frame as docs/$2.
shoot() {
    xdotool windowmove --sync "$1" 20 40
    sleep 1.5
    eval "$(xdotool getwindowgeometry --shell "$1" | tr '\n' ' ')"
    import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" "$docs/$2"
}

stop_velmoro() {
    kill "$program" "$wm" 2>/dev/null || true
    rm -f "$rc"
}
