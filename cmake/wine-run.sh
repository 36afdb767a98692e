#!/bin/sh
# Runs a cross-built Windows program under Wine for ctest and build steps.
# WINEPREFIX defaults to "wineprefix" beside the build tree's CMakeCache.txt.
dir=$(pwd)
while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
[ "$dir" = / ] && dir=$(pwd)
[ -z "$WINEPREFIX" ] && WINEPREFIX="$dir/wineprefix"
# Test programs load QuillomCABI.dll from the build tree's engine folder.
WINEPATH="Z:$(printf '%s' "$dir/engine" | tr / '\\')${WINEPATH:+;$WINEPATH}"
export WINEPREFIX WINEPATH WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
mkdir -p "$WINEPREFIX"
# A server that outlives each program by a minute, started with stdio detached:
# one that inherits ctest's pipes keeps them open and stalls the run. Fails
# harmlessly when a server already runs.
wineserver -p60 </dev/null >/dev/null 2>&1
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine cmd /c exit </dev/null >/dev/null 2>&1
fi
exec wine "$@"
