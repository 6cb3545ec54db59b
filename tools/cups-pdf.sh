#!/usr/bin/env bash
# Sets up a virtual PDF printer (CUPS + cups-pdf) as the system's default printer,
# so the printing tests can print through the real print system. Never fails the
# caller: without it the end-to-end printing test skips itself.
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh

QUEUE=CorvanePDF
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

say() { echo "cups-pdf: $*" >&2; }

if ! corvane_install_deps "${CORVANE_PRINT_PACKAGES[@]}"; then
    say "pacotes de impressão indisponíveis; o teste de impressão real será pulado."
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        sudo=(sudo -n)
    else
        say "sem root nem sudo: não é possível iniciar o cupsd; o teste de impressão real será pulado."
        exit 0
    fi
fi

scheduler_up() { timeout 5 lpstat -r 2>/dev/null | grep -q 'is running'; }

if ! scheduler_up; then
    # cupsd forks into the background once it is ready; the timeout only guards a hang.
    timeout 20 "${sudo[@]}" /usr/sbin/cupsd >/dev/null 2>&1 || true
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
    timeout 20 "${sudo[@]}" lpadmin -p "$QUEUE" -E -v cups-pdf:/ -P "$PPD" \
        || { say "não foi possível criar a fila $QUEUE."; exit 0; }
fi
timeout 10 "${sudo[@]}" cupsenable "$QUEUE" >/dev/null 2>&1 || true
timeout 10 "${sudo[@]}" cupsaccept "$QUEUE" >/dev/null 2>&1 || true
timeout 10 "${sudo[@]}" lpadmin -d "$QUEUE" >/dev/null 2>&1 || true
timeout 10 lpoptions -d "$QUEUE" >/dev/null 2>&1 || true

if [ "$(timeout 5 lpstat -d 2>/dev/null | sed -n 's/^.*: *//p')" = "$QUEUE" ]; then
    say "impressora padrão: $QUEUE"
else
    say "a fila $QUEUE não ficou como padrão; o teste de impressão real será pulado."
fi
exit 0
