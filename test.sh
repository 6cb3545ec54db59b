#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (no display needed):
#   1. the test suite (offscreen), with a virtual PDF printer as the tests' printer;
#   2. the packages: the .deb's contents, lintian and the metadata, then the
#      portable archive and the .deb, each unpacked and started in a real window
#      under Xvfb, and the .deb's program read through the accessibility bus;
#   3. the Windows-only code parsed by MinGW's g++;
#   4. the test suite again in a build with AddressSanitizer and UBSan.
# ./test.sh --quick runs step 1 only.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
quick=false
[ "${1:-}" = "--quick" ] && quick=true

corvane_install_deps "${CORVANE_BUILD_PACKAGES[@]}" "${CORVANE_WINDOW_PACKAGES[@]}" \
    "${CORVANE_DEB_PACKAGES[@]}" "${CORVANE_A11Y_PACKAGES[@]}" "${CORVANE_WINDOWS_PACKAGES[@]}" \
    "${CORVANE_STICK_PACKAGES[@]}"
corvane_build build
# The printing tests get a virtual PDF printer through their own environment; the
# machine's default printer stays as it is, and what was started is stopped.
cups_state=build/cups-state
trap 'tools/cups-pdf.sh down "$cups_state"' EXIT
queue=$(tools/cups-pdf.sh up "$cups_state")
[ -n "$queue" ] && export PRINTER=$queue LPDEST=$queue
export QT_QPA_PLATFORM=offscreen
# The tests and checks leave the temporary folder ($TMPDIR, else /tmp) as they
# found it: their temporary folders, names that
# are not UTF-8 included, go with them.
tmp=${TMPDIR:-/tmp}
leftovers() { (shopt -s nullglob; printf '%s\n' "$tmp"/qt_temp-* "$tmp"/tst_*-?????? "$tmp"/corvane-* "$tmp"/tmp.*) | sort; }
before=$(leftovers)
check_leftovers() {
    local left
    left=$(comm -13 <(echo "$before") <(leftovers))
    if [ -n "$left" ]; then
        echo "Os testes deixaram para trás:" >&2
        echo "$left" >&2
        exit 1
    fi
}
ctest --test-dir build --output-on-failure --timeout 600 -j "$(nproc)"
check_leftovers
$quick && exit 0

echo "== Os pacotes: o arquivo portátil e o .deb"
(cd build && cpack >/dev/null)
tools/check-deb.sh build
echo "== O programa empacotado, numa janela real"
# -noreset: the X server stays as it is when one program of the check closes
# and before the next connects.
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x800x24 -noreset" tools/e2e-window.sh build
echo "== O programa empacotado, lido pelo barramento de acessibilidade"
# The session bus's own chatter goes to a log, shown only when the check fails.
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x800x24 -noreset" \
    dbus-run-session -- tools/a11y.sh build 2>build/a11y-bus.log \
    || { cat build/a11y-bus.log >&2; exit 1; }

echo "== O código do Windows, só a sintaxe (MinGW)"
tools/windows-syntax.sh build

echo "== Testes com AddressSanitizer e UndefinedBehaviorSanitizer"
# Only what the tests run: one program per tests/tst_*.cpp (the benchmarks are
# built, and so checked, in the first build). -O1 and line tables only: the
# sanitizers' reports keep file and line, and the build takes a quarter less.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_SANITIZE=ON \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" >/dev/null
cmake --build build-asan --parallel "$(nproc)" --target $(basename -s .cpp tests/tst_*.cpp)
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir build-asan --output-on-failure --timeout 900 -j "$(nproc)"
check_leftovers
