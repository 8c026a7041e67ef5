#!/usr/bin/env bash
# Opens the window on a demo database. The demo keeps its settings in demo/config, so the
# user's own settings are never read or changed.
set -euo pipefail
build=${1:-build}
demo="$PWD/demo"
source="$demo/quelle.vdb"
target="$demo/ziel.vdb"

mkdir -p "$demo/config"
if [[ ! -f "$source" ]]; then
    "$build/tools/vdb/vdb" demo "$source"
fi

# The demo's paths and user name, as the window's settings store reads them.
ini_quote() { local v=${1//\\/\\\\}; printf '"%s"' "${v//\"/\\\"}"; }
cat > "$demo/config/VeltronaDBCopy.conf" <<CONF
[Startup]
SourceDatabase=$(ini_quote "$source")
UserName=ADMIN
DestDatabase=$(ini_quote "$target")
CONF

echo "Demo-Datenbank: $source (Benutzer: ADMIN, Kennwort: demo)"
echo "Ziel: $target (wird beim ersten Start angelegt)"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Kein Bildschirm gefunden (DISPLAY ist nicht gesetzt)." >&2
    echo "Starten Sie das Fenster auf einem virtuellen Bildschirm: xvfb-run -a make run" >&2
    exit 1
fi
XDG_CONFIG_HOME="$demo/config" exec "$build/src/app/veltrona-dbcopy"
