#!/usr/bin/env bash
# The Windows side of the code, checked as far as this machine allows: every
# source file of src/ that a Windows build compiles (all but the POSIX files,
# *Posix*.cpp, which CMake leaves out there) parsed by MinGW's g++
# (-fsyntax-only) against the Qt headers, so the Windows-only paths keep
# compiling.
#   tools/windows-syntax.sh BUILD_DIR
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cxx=x86_64-w64-mingw32-g++-posix
qt=$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)
if ! command -v "$cxx" >/dev/null; then
    echo "windows-syntax: $cxx não encontrado" >&2
    exit 1
fi
includes=(-Isrc)
for floor in "$build"/floors/*; do includes+=(-I"$floor"); done
for module in Core Gui Widgets PrintSupport Svg; do includes+=(-I"$qt/Qt$module"); done
# -w: Linux's Qt headers say nothing of dllimport, which MinGW notes at every turn.
# The paths hold no blanks, so the flags travel as one word list.
export cxx flags="${includes[*]} -I$qt"
git ls-files -z 'src/*.cpp' ':!src/*Posix*.cpp' | xargs -0 -n 1 -P "$(nproc)" sh -c '
    $cxx -std=c++20 -fsyntax-only -w -DUNICODE -D_UNICODE $flags "$1" || {
        echo "windows-syntax: $1 não compila para Windows" >&2; exit 255; }' _
