#!/bin/sh
# Adds Corvane to the desktop's application menu, pointing at this folder.
here=$(cd "$(dirname "$0")" && pwd)
apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$apps"
sed -e "s|^Exec=.*|Exec=\"$here/corvane\"|" -e "s|^Icon=.*|Icon=$here/corvane.svg|" \
    "$here/app.corvane.Corvane.desktop" > "$apps/app.corvane.Corvane.desktop"
echo "Corvane adicionado ao menu ($apps/app.corvane.Corvane.desktop)."
