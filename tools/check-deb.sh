#!/usr/bin/env bash
# Checks the Debian package: the files where Debian puts them, no Qt of its own
# (Debian's Qt packages as dependencies), a valid menu entry, no lintian error.
# Usage: tools/check-deb.sh BUILD_DIR
set -uo pipefail
fail() { echo "deb: FALHOU: $*" >&2; exit 1; }

deb=$(ls "$1"/package/corvane_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "nenhum .deb em $1/package"
listing=$(dpkg-deb -c "$deb") || fail "dpkg-deb não lê $deb"
for path in usr/bin/corvane usr/share/applications/corvane.desktop \
            usr/share/icons/hicolor/scalable/apps/corvane.svg usr/share/doc/corvane/README.md \
            usr/share/doc/corvane/copyright usr/share/doc/corvane/changelog.gz; do
    grep -q " \./$path\$" <<<"$listing" || fail "falta /$path"
done
grep -E 'libQt6|/plugins/|qt\.conf' <<<"$listing" && fail "o pacote traz o Qt que o arquivo portátil leva"
# lintian lets an RPATH of $ORIGIN/lib through: it would point at a bundle.
program=$(mktemp)
trap 'rm -f "$program"' EXIT
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/bin/corvane >"$program" || fail "sem usr/bin/corvane"
readelf -d "$program" | grep -E 'RPATH|RUNPATH' && fail "o programa traz um RPATH"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "não depende do Qt do Debian: $depends"
desktop-file-validate packaging/corvane.desktop || fail "a entrada de menu não é válida"
lintian --fail-on error "$deb" || fail "lintian achou erros"
echo "deb: $(basename "$deb") OK"
