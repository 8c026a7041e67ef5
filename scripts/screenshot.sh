#!/usr/bin/env bash
# Makes docs/screenshot.png: the window after a demo run, rendered on a virtual screen.
set -euo pipefail
build=${1:-build}
shot="$PWD/demo/screenshot"
rm -rf "$shot" && mkdir -p "$shot/config"
"$build/tools/vdb/vdb" demo "$shot/quelle.vdb" --records 2500 > /dev/null
cat > "$shot/config/VeltronaDBCopy.conf" <<CONF
[Startup]
SourceDatabase="$shot/quelle.vdb"
UserName=ADMIN
DestDatabase="$shot/ziel.vdb"
CONF
mkdir -p docs
XDG_CONFIG_HOME="$shot/config" xvfb-run -a -s "-screen 0 800x600x24" \
    "$build/tools/screenshot/window_screenshot" demo "$PWD/docs/screenshot.png"
echo "docs/screenshot.png"
