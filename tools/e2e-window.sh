#!/usr/bin/env bash
# A real-window check of the packaged program: unpack the archive into a fresh
# folder, start it under Xvfb (first start: the notice, then the main window),
# start a second copy with another temp folder (refused); then unpack the .deb and
# start its /usr/bin/corvane on the system's Qt with --library, and again with Qt's
# own options (the window where -qwindowgeometry puts it). Screenshots are
# taken; a crash, a missing window or any warning the program prints fails.
# Usage: tools/e2e-window.sh BUILD_DIR   (run inside xvfb-run)
set -uo pipefail
build=$(cd "$1" && pwd)
out="$build/e2e"
rm -rf "$out" && mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "e2e: FALHOU: $*" >&2; exit 1; }

archive=$(ls "$build"/package/corvane-*.tar.gz 2>/dev/null | head -n 1)
[ -n "$archive" ] || fail "nenhum pacote em $build/package"
tar xzf "$archive" -C "$work" || fail "não foi possível desempacotar $archive"
app=$(ls -d "$work"/corvane-*/ | head -n 1)
[ -x "$app/corvane" ] || fail "o pacote não traz o executável"
export XDG_RUNTIME_DIR="$work/runtime" && mkdir -p -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM LD_LIBRARY_PATH QT_PLUGIN_PATH

# Waits for a window with exactly this title; prints its ids, newest last.
wait_window() {  # title count timeout_seconds
    local i ids
    for ((i = 0; i < $3 * 10; i++)); do
        ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)
        if [ "$(printf '%s\n' "$ids" | grep -c .)" -ge "$2" ]; then
            printf '%s\n' "$ids"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
click_in() {  # window x y  (client coordinates)
    local geo x y
    geo=$(xdotool getwindowgeometry --shell "$1") || return 1
    x=$(sed -n 's/^X=//p' <<<"$geo"); y=$(sed -n 's/^Y=//p' <<<"$geo")
    xdotool mousemove $((x + $2)) $((y + $3)) click 1
}

# A first start on a library folder not made yet: the notice, the folder only
# after "Fechar", then the main window. Sets $started and $window.
first_start() {  # name library folder command...
    local name=$1 library=$2 folder=$3 notice
    shift 3
    (cd "$folder" && exec "$@") >"$out/$name.log" 2>&1 &
    started=$!
    notice=$(wait_window "Corvane - AVISO" 1 20) || fail "a janela de aviso não apareceu ($name)"
    [ -e "$library" ] && fail "a pasta $library foi criada antes do aviso fechar"
    import -window "$notice" "$out/notice-$name.png" 2>/dev/null
    click_in "$notice" 228 106  # "Fechar"
    window=$(wait_window "Corvane 1.0" 1 20) || fail "a janela principal não apareceu ($name)"
    [ -d "$library" ] || fail "a pasta $library não foi criada"
    sleep 0.5
    import -window "$window" "$out/main-$name.png" 2>/dev/null || fail "sem captura da janela principal ($name)"
}

first_start first "$app/scripts" "$app" ./corvane
first=$started main=$window

# Another temp folder changes nothing: the library folder itself is what is held.
mkdir -p "$work/other-tmp"
(cd "$app" && TMPDIR="$work/other-tmp" exec ./corvane) >"$out/second.log" 2>&1 &
second=$!
boxes=$(wait_window "Corvane 1.0" 2 20) || fail "a segunda cópia não mostrou o aviso"
box=$(printf '%s\n' "$boxes" | grep -vx "$main" | tail -n 1)
import -window "$box" "$out/second-copy.png" 2>/dev/null
xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
for ((i = 0; i < 100; i++)); do kill -0 "$second" 2>/dev/null || break; sleep 0.1; done
kill -0 "$second" 2>/dev/null && fail "a segunda cópia não terminou"
wait "$second"; status=$?
[ "$status" -eq 0 ] || fail "a segunda cópia terminou com $status"
kill -0 "$first" 2>/dev/null || fail "a primeira cópia caiu"

# Scaled twice, as on a HiDPI screen: the layout must hold and pictures stay sharp.
kill "$first"; wait "$first" 2>/dev/null
(cd "$app" && QT_SCALE_FACTOR=2 exec ./corvane) >"$out/hidpi.log" 2>&1 &
scaled=$!
main2=$(wait_window "Corvane 1.0" 1 20) || fail "a janela em escala 2 não apareceu"
sleep 0.5
import -window "$main2" "$out/main-hidpi.png" 2>/dev/null
kill "$scaled"; wait "$scaled" 2>/dev/null

# The .deb as dpkg lays it out, on the system's Qt, with a library of its own.
deb=$(ls "$build"/package/corvane_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "nenhum .deb em $build/package"
root="$work/deb"
dpkg-deb -x "$deb" "$root" || fail "não foi possível desempacotar $deb"
first_start deb "$work/Sync/scripts" "$work" "$root/usr/bin/corvane" --library "$work/Sync/scripts"
kill "$started"; wait "$started" 2>/dev/null

# Qt's own options reach Qt: the window where -qwindowgeometry puts it.
(cd "$work" && exec "$root/usr/bin/corvane" --library "$work/Sync/scripts" -qwindowgeometry +10+20 \
    -style Fusion -reverse) >"$out/qt-options.log" 2>&1 &
placed=$!
window=$(wait_window "Corvane 1.0" 1 20) || fail "a janela com as opções do Qt não apareceu"
sleep 0.5
import -window "$window" "$out/main-qt-options.png" 2>/dev/null
where=$(xdotool getwindowgeometry --shell "$window" | grep -E '^[XY]=' | tr '\n' ' ')
[ "$where" = "X=10 Y=20 " ] || fail "-qwindowgeometry +10+20 não chegou ao Qt: $where"
kill "$placed"; wait "$placed" 2>/dev/null
rm -rf "$root"

for log in first second hidpi deb qt-options; do
    if [ -s "$out/$log.log" ]; then
        echo "--- $log.log" >&2; cat "$out/$log.log" >&2
        fail "o programa escreveu avisos ($log)"
    fi
done
echo "e2e: janela real OK (capturas em $out)"
