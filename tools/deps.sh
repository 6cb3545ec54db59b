# Sourced by run.sh and test.sh: installs the Debian packages that are missing.
corvane_install_deps() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Instalando pacotes: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "Faltam os pacotes ${missing[*]} e não há root nem sudo para instalá-los." >&2
            echo "Instale-os como administrador: apt-get install ${missing[*]}" >&2
            return 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q >/dev/null || { echo "apt-get update falhou." >&2; return 1; }
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null \
        || { echo "Não foi possível instalar: ${missing[*]}" >&2; return 1; }
}

CORVANE_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgl-dev
                        qt6-translations-l10n fonts-liberation2 qt6-qpa-plugins)

# A real window for the end-to-end check: a virtual screen, clicks, screenshots.
CORVANE_WINDOW_PACKAGES=(xvfb xauth xdotool imagemagick)

# The Debian package: Qt dependencies named from the binary, its checks.
CORVANE_DEB_PACKAGES=(dpkg-dev lintian desktop-file-utils)

# The tests' USB sticks: FAT and exFAT made in image files and mounted through
# FUSE (fusermount comes with fuse3), so no kernel module is needed.
CORVANE_STICK_PACKAGES=(dosfstools fusefat exfatprogs exfat-fuse fuse3)

# The Windows side of the code, checked for syntax (tools/windows-syntax.sh).
CORVANE_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix)

# The virtual PDF printer of the printing tests (tools/cups-pdf.sh).
CORVANE_PRINT_PACKAGES=(cups printer-driver-cups-pdf poppler-utils)

corvane_build() {  # build_dir [extra cmake args...]
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null \
        && cmake --build "$dir" --parallel "$(nproc)"
}
