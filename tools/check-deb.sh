#!/usr/bin/env bash
# Checks the Debian package: the files where Debian puts them, no Qt of its own
# (Debian's Qt packages as dependencies), a valid menu entry and software-centre
# metadata, and not a word from lintian, warnings included.
# Usage: tools/check-deb.sh BUILD_DIR
set -uo pipefail
fail() { echo "deb: FALHOU: $*" >&2; exit 1; }

deb=$(ls "$1"/package/corvane_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "nenhum .deb em $1/package"
listing=$(dpkg-deb -c "$deb") || fail "dpkg-deb não lê $deb"
for path in usr/bin/corvane usr/share/applications/app.corvane.Corvane.desktop \
            usr/share/metainfo/app.corvane.Corvane.metainfo.xml usr/share/man/man1/corvane.1.gz \
            usr/share/icons/hicolor/scalable/apps/corvane.svg usr/share/doc/corvane/README.md \
            usr/share/doc/corvane/copyright usr/share/doc/corvane/changelog.gz; do
    grep -q " \./$path\$" <<<"$listing" || fail "falta /$path"
done
grep -E 'libQt6|/plugins/|qt\.conf' <<<"$listing" && fail "o pacote traz o Qt que o arquivo portátil leva"
# lintian lets an RPATH of $ORIGIN/lib through: it would point at a bundle.
program=$(mktemp)
lintdir=$(mktemp -d)
trap 'rm -rf "$program" "$lintdir"' EXIT
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/bin/corvane >"$program" || fail "sem usr/bin/corvane"
readelf -d "$program" | grep -E 'RPATH|RUNPATH' && fail "o programa traz um RPATH"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "não depende do Qt do Debian: $depends"
desktop-file-validate packaging/app.corvane.Corvane.desktop || fail "a entrada de menu não é válida"
appstreamcli validate --no-net packaging/app.corvane.Corvane.metainfo.xml || fail "os metadados AppStream não são válidos"
# lintian says it should not run as root: then it reads a copy as "nobody".
lint=(lintian) lintdeb=$deb
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$lintdir" && lintdeb="$lintdir/$(basename "$deb")" && install -m 644 "$deb" "$lintdeb"
    lint=(runuser -u nobody -- env HOME="$lintdir" lintian)
fi
said=$("${lint[@]}" --fail-on warning "$lintdeb" 2>&1) || fail "lintian recusou o pacote: $said"
[ -z "$said" ] || fail "lintian disse: $said"
echo "deb: $(basename "$deb") OK"
