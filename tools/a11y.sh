#!/usr/bin/env bash
# Reads the packaged program through the accessibility bus, as a screen reader
# does (tools/a11y-read.py): the .deb unpacked into a fresh folder, started with
# a throw-away library in a temporary HOME. Everything started here is stopped
# and every folder made here removed, whatever happens.
# Usage: tools/a11y.sh BUILD_DIR   (inside xvfb-run and dbus-run-session)
set -uo pipefail
build=$(cd "$1" && pwd)
tools=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
program=
trap '[ -n "$program" ] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "a11y: FALHOU: $*"; exit 1; }

deb=$(ls "$build"/package/corvane_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "nenhum .deb em $build/package"
dpkg-deb -x "$deb" "$work/deb" || fail "não foi possível desempacotar $deb"

# The packaged program's own library: the user's data folder, never beside it.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
unset XDG_DATA_HOME CORVANE_LIBRARY QT_QPA_PLATFORM LD_LIBRARY_PATH QT_PLUGIN_PATH
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
library="$HOME/.local/share/Corvane/scripts"
mkdir -p "$library/Notas" "$library/Receitas"
printf '"Arroz e feij\xe3o"\r\n' >"$library/Notas/lista de compras.txt"

(cd "$work" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$work/deb/usr/bin/corvane") >"$work/program.log" 2>&1 &
program=$!
timeout 90 /usr/bin/python3 "$tools/a11y-read.py"
status=$?
kill -0 "$program" 2>/dev/null || fail "o programa caiu: $(cat "$work/program.log")"
[ -e "$work/deb/usr/bin/scripts" ] && fail "o programa do pacote criou uma biblioteca ao lado de si"
[ "$status" -eq 0 ] || exit 1
if [ -s "$work/program.log" ]; then
    cat "$work/program.log"
    fail "o programa escreveu avisos"
fi
