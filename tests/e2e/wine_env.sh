# Wine and Xvfb for the end-to-end tests, and what their scripts share; sourced by each.
#   e2e_env_start <work-dir>   packages, fresh WINEPREFIX, Xvfb, persistent wineserver,
#                              Russian and Ukrainian layouts registered
#   e2e_env_stop               stops everything e2e_env_start started
# After e2e_env_start: DISPLAY, WINEPREFIX, E2E_WORK, E2E_USER_DIR (the prefix's user
# profile folder as a Unix path) are exported.

E2E_PACKAGES="wine wine64 xvfb xdotool x11-xkb-utils xauth xclip imagemagick fonts-wine fonts-liberation"

e2e_log() { printf '[e2e] %s\n' "$*" >&2; }

e2e_install_packages() {
    local missing="" p
    for p in $E2E_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    e2e_log "installing:$missing"
    local tries=0
    # Another installation may hold the dpkg lock for a while.
    until DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing >/dev/null; do
        tries=$((tries + 1))
        [ $tries -ge 30 ] && return 1
        sleep 10
    done
}

# Polls a command until it succeeds or the deadline (seconds) passes.
e2e_wait_for() {
    local seconds=$1; shift
    local deadline=$(( $(date +%s%N) / 1000000 + seconds * 1000 ))
    while ! "$@" >/dev/null 2>&1; do
        [ $(( $(date +%s%N) / 1000000 )) -ge $deadline ] && return 1
        sleep 0.05
    done
}

e2e_env_start() {
    E2E_WORK=$1
    mkdir -p "$E2E_WORK"
    e2e_install_packages || return 1
    export WINEPREFIX="$E2E_WORK/wineprefix" WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    rm -rf "$WINEPREFIX"
    # Xvfb takes a free display itself and writes its number (-displayfd): a number picked by
    # looking for free ones can be taken by another suite starting at the same moment, whose
    # server then answers both, so that one suite's keys and keymap reach the other's windows.
    local number="$E2E_WORK/xvfb.display"
    : >"$number"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x800x24}" -nolisten tcp -noreset 3>"$number" \
        >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    e2e_wait_for 10 grep -q '^[0-9]' "$number" || { e2e_log "Xvfb did not start"; return 1; }
    export DISPLAY=":$(head -n 1 "$number")"
    e2e_wait_for 10 xdotool getdisplaygeometry || { e2e_log "Xvfb did not start"; return 1; }
    mkdir -p "$WINEPREFIX"
    # One persistent server with stdio detached, so no wine process inherits our pipes.
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    local layouts='HKLM\System\CurrentControlSet\Control\Keyboard Layouts'
    wine reg add "$layouts\\00000409" /v "Layout File" /t REG_SZ /d KBDUS.DLL /f </dev/null >/dev/null 2>&1
    wine reg add "$layouts\\00000419" /v "Layout File" /t REG_SZ /d KBDRU.DLL /f </dev/null >/dev/null 2>&1
    wine reg add "$layouts\\00000419" /v "Layout Text" /t REG_SZ /d Russian /f </dev/null >/dev/null 2>&1
    wine reg add "$layouts\\00000422" /v "Layout File" /t REG_SZ /d KBDUR.DLL /f </dev/null >/dev/null 2>&1
    wine reg add "$layouts\\00000422" /v "Layout Text" /t REG_SZ /d Ukrainian /f </dev/null >/dev/null 2>&1
    E2E_USER_DIR="$WINEPREFIX/drive_c/users/$(id -un)"
    export E2E_WORK E2E_USER_DIR E2E_XVFB_PID
}

# --- what every end-to-end script shares ---------------------------------------------
#   e2e_begin <work-dir> <artifacts-dir> <helper.exe>
# Empties both folders, starts Wine and Xvfb (the caller's EXIT trap runs e2e_env_stop),
# copies the helper to $work/helper.exe and sets work, artifacts, settings and log.
e2e_begin() {
    work=$1 artifacts=$2
    rm -rf "$work" "$artifacts"
    mkdir -p "$artifacts"
    e2e_env_start "$work" || { echo "could not start Wine and Xvfb" >&2; exit 2; }
    cp "$3" "$work/helper.exe"
    settings="$E2E_USER_DIR/AppData/Local/Quillom"
    log="$E2E_USER_DIR/Temp/quillom.log"
}

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS $*"; }
fail() { failed=$((failed + 1)); echo "FAIL $*"; }
# Problems found by the checks of one case; report passes it when there are none.
problems=""
problem() { problems="$problems; $*"; }
report() {
    if [ -z "$problems" ]; then pass "$1"; else fail "$1 (${problems#; })"; fi
    problems=""
}

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
helper() { wine "$work/helper.exe" "$@" </dev/null >/dev/null 2>&1; }
# A process that ended but was not reaped yet (a zombie) counts as gone.
not_running() { ! ps -o stat= -p "$1" 2>/dev/null | grep -qv '^Z'; }

e2e_env_stop() {
    [ -n "$WINEPREFIX" ] && wineserver -k </dev/null >/dev/null 2>&1
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    E2E_XVFB_PID=""
}
