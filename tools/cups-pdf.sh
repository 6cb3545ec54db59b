#!/usr/bin/env bash
# A virtual PDF printer (CUPS + cups-pdf) for the printing tests, handed to them
# through their own environment (PRINTER), never as the machine's or the user's
# default printer.
#   tools/cups-pdf.sh up STATE    prints the queue's name when it is ready; notes
#                                 in STATE what it started or added
#   tools/cups-pdf.sh down STATE  stops and removes just that
# Never fails the caller: without the printer the end-to-end printing test skips.
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh

QUEUE=CorvanePDF
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
action=${1:-up}
state=${2:-build/cups-state}

say() { echo "cups-pdf: $*" >&2; }

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        sudo=(sudo -n)
    else
        say "sem root nem sudo: a impressora virtual não é usada; o teste de impressão real será pulado."
        exit 0
    fi
fi

scheduler_up() { timeout 5 lpstat -r 2>/dev/null | grep -q 'is running'; }

if [ "$action" = down ]; then
    [ -f "$state" ] || exit 0
    if grep -qx added-queue "$state"; then
        timeout 20 "${sudo[@]}" lpadmin -x "$QUEUE" >/dev/null 2>&1 || say "não foi possível remover a fila $QUEUE."
    fi
    # Only the scheduler started here, by its process id (sudo's, with sudo: sudo
    # hands the signal on), and only while that id is still such a process.
    pid=$(sed -n 's/^started-cupsd //p' "$state")
    if [ -n "$pid" ] && [[ "$(ps -o comm= -p "$pid" 2>/dev/null)" =~ ^(cupsd|sudo)$ ]]; then
        timeout 10 "${sudo[@]}" kill "$pid" >/dev/null 2>&1 || true
        for _ in $(seq 1 40); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.25
        done
    fi
    rm -f "$state"
    exit 0
fi

if ! corvane_install_deps "${CORVANE_PRINT_PACKAGES[@]}" >&2; then
    say "pacotes de impressão indisponíveis; o teste de impressão real será pulado."
    exit 0
fi
mkdir -p "$(dirname "$state")"
: >"$state"

if ! scheduler_up; then
    # In the foreground, so that its process id is the one started here; left
    # running in the background, with no hold on the caller's output.
    "${sudo[@]}" /usr/sbin/cupsd -f </dev/null >/dev/null 2>&1 &
    echo "started-cupsd $!" >>"$state"
    for _ in $(seq 1 40); do
        scheduler_up && break
        sleep 0.25
    done
fi
if ! scheduler_up; then
    say "o cupsd não respondeu; o teste de impressão real será pulado."
    exit 0
fi

if ! timeout 5 lpstat -v "$QUEUE" >/dev/null 2>&1; then
    timeout 20 "${sudo[@]}" lpadmin -p "$QUEUE" -E -v cups-pdf:/ -P "$PPD" >/dev/null 2>&1 \
        || { say "não foi possível criar a fila $QUEUE."; exit 0; }
    echo added-queue >>"$state"
fi
timeout 10 "${sudo[@]}" cupsenable "$QUEUE" >/dev/null 2>&1 || true
timeout 10 "${sudo[@]}" cupsaccept "$QUEUE" >/dev/null 2>&1 || true
echo "$QUEUE"
exit 0
