#!/usr/bin/env bash
# End-to-end tests of the settings window under Wine and Xvfb: opens it from the tray menu,
# screenshots every tab, edits the dictionary through its controls, switches the interface
# language, sends feedback to a loopback server, and repeats the screenshots at 150 % scaling.
#
#   tests/e2e/settings_window.sh [build-dir]      (default: build/e2e-settings)
#
# The build dir is a Windows build whose feedback endpoint is a loopback server over plain
# HTTP; a missing one is configured so:
#   -DQUILLOM_FEEDBACK_HOST=127.0.0.1 -DQUILLOM_FEEDBACK_PORT=18481 -DQUILLOM_FEEDBACK_TLS=OFF
# Builds its targets quillom_dist and quillom_settings_helper. Prints one line per case and
# "N passed, M failed"; exits 0 only when all passed. Screenshots and logs go to
# <build-dir>/e2e-settings-artifacts. Every wait polls for what it needs, with a deadline.
set -u

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
build=${1:-$source_dir/build/e2e-settings}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DQUILLOM_BUILD_BENCH=OFF -DQUILLOM_FEEDBACK_HOST=127.0.0.1 \
        -DQUILLOM_FEEDBACK_PORT=18481 -DQUILLOM_FEEDBACK_TLS=OFF >/dev/null || { echo "configure failed" >&2; exit 2; }
fi
build=$(cd "$build" && pwd)
export QUILLOM_VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
port=$(cache_value QUILLOM_FEEDBACK_PORT)
if [ "$(cache_value QUILLOM_FEEDBACK_HOST)" != 127.0.0.1 ] || [ "$(cache_value QUILLOM_FEEDBACK_TLS)" != OFF ]; then
    echo "$build does not send feedback to a loopback server (see the head of this script)" >&2
    exit 2
fi
cmake --build "$build" -j2 --target quillom_dist quillom_settings_helper >/dev/null || { echo "build failed" >&2; exit 2; }
dist="$build/dist/Quillom"

# shellcheck source=wine_env.sh
source "$here/wine_env.sh"

server_pid=""
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    e2e_env_stop
}
trap cleanup EXIT
# Room for the window at 150 % (840 x 840 pixels).
export E2E_SCREEN=1600x1200x24
e2e_begin "$build/e2e-settings-work" "$build/e2e-settings-artifacts" "$build/tests/e2e/quillom_settings_helper.exe"
app="$work/app"
cp -r "$dist" "$app"
# A helper command that writes its answer into a file; prints the answer.
ask() { helper "$@" "$(winpath "$work/answer.txt")" && cat "$work/answer.txt"; }

log_mark() { wc -l <"$log" 2>/dev/null || echo 0; }
logged_since() { tail -n +"$(($1 + 1))" "$log" 2>/dev/null | grep -qF -- "$2"; }
lines_since() { tail -n +"$(($1 + 1))" "$log" 2>/dev/null | grep -F -- "$2"; }

# --- Quillom -----------------------------------------------------------------------------

quillom_pid=""
ready_lines() { grep -c "started: hooks installed" "$log" 2>/dev/null || echo 0; }
more_ready_lines() { [ "$(ready_lines)" -gt "$1" ]; }

start_quillom() {
    local before
    before=$(ready_lines)
    (cd "$app" && exec wine Quillom.exe </dev/null >>"$work/quillom.out" 2>&1) &
    quillom_pid=$!
    e2e_wait_for 30 more_ready_lines "$before"
}

stop_quillom() {
    [ -n "$quillom_pid" ] || return 0
    open_tray_menu && click_menu_item quit
    e2e_wait_for 20 not_running "$quillom_pid" || kill "$quillom_pid" 2>/dev/null
    wait "$quillom_pid" 2>/dev/null
    quillom_pid=""
}

# The preferences of the run: developer log on (it carries the clipping report), no sounds.
write_prefs() {
    printf '{"active_languages":["en","uk","ru"],"debug_log":true,"play_sound_on_correction":false,"ui_language":"en"}' \
        >"$settings/user_preferences.json"
}

# --- clicking ------------------------------------------------------------------------------

click_rect() {
    local x y w h
    read -r x y w h <<<"$1"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}
click_control() { local r; r=$(ask control-rect "$1") && click_rect "$r"; }

open_tray_menu() {
    local tray
    tray=$(timeout 10 xdotool search --sync --onlyvisible --name 'Wine System Tray' | head -n 1)
    [ -n "$tray" ] || return 1
    xdotool mousemove --window "$tray" 10 10 click 3
    e2e_wait_for 5 helper menu-open
}
# The menu ends with "Settings…", a separator and "Quit Quillom"; Up from no selection takes the
# last item.
click_menu_item() {
    case $1 in
    settings) xdotool key Up Up Return ;;
    quit) xdotool key Up Return ;;
    esac
}

window_title_is() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

open_settings() {
    open_tray_menu && click_menu_item settings && e2e_wait_for 10 helper shows 1000
}

# The control each page shows, by tab index, to know the page is up.
page_probe=(1006 1090 1050 1030 1080 1010 1020 1062 1071)
page_name=(general sound hotkeys dictionary auto-rules languages excluded-apps feedback debug)

# A tab once stayed unshown after its click in a CI run at 150 %: the tab is clicked again, up
# to three times, and a screenshot of the screen is kept when its page never shows.
select_tab() {
    local r try
    for try in 1 2 3; do
        r=$(ask tab-rect "$1") && click_rect "$r" && e2e_wait_for 5 helper shows "${page_probe[$1]}" && return 0
    done
    import -window root "$artifacts/tab-$1-not-shown.png" 2>/dev/null
    return 1
}

# Screenshots of the window until two in a row are the same, so painting has finished.
same_shots() {
    import -window root -crop "$1" +repage "$work/shot-b.png" 2>/dev/null || return 1
    if [ -f "$work/shot-a.png" ] && cmp -s "$work/shot-a.png" "$work/shot-b.png"; then return 0; fi
    mv "$work/shot-b.png" "$work/shot-a.png"
    return 1
}
screenshot() {
    local x y w h
    read -r x y w h <<<"$(ask window-rect)"
    rm -f "$work/shot-a.png"
    e2e_wait_for 5 same_shots "${w}x${h}+${x}+${y}"
    cp "$work/shot-a.png" "$artifacts/$1.png"
}

# --- the cases -------------------------------------------------------------------------------

case_open_twice() {
    local what="1 Settings… in the tray menu opens the window, and again brings the same one forward"
    if ! open_settings; then fail "$what (no window)"; return; fi
    open_settings
    local count
    count=$(ask windows)
    if [ "$count" = 1 ] && window_title_is "Quillom Settings"; then pass "$what"; else fail "$what ($count windows)"; fi
}

# Every tab, screenshot named <prefix>-<index>-<page>.png; no layout lines since the mark.
case_all_tabs() {
    local what=$1 prefix=$2 mark=$3 i missing=""
    for i in "${!page_probe[@]}"; do
        if select_tab "$i"; then screenshot "$prefix-$i-${page_name[$i]}"; else missing="$missing ${page_name[$i]}"; fi
    done
    local clipped checks
    clipped=$(lines_since "$mark" "layout: ")
    checks=$(lines_since "$mark" "layout check: " | grep -c ", 0 clipped")
    [ "$checks" -gt 0 ] || clipped="$clipped no layout check in the log"
    if [ -z "$missing" ] && [ -z "$clipped" ]; then
        pass "$what (screenshots: $artifacts/$prefix-*.png)"
    else
        fail "$what (tabs not shown:${missing:- none}; clipped: $(echo "$clipped" | tr '\n' ';'))"
    fi
}

rules_have_pair() { tr -d ' \t\r\n' <"$settings/quillom_rules.json" | grep -qF '"ghbdtn":"привет"'; }
pair_listed() { ask list-rows 1030 | grep -qP '^English\tghbdtn\t.*\tпривет$'; }

case_dictionary_pair() {
    local what="3 typing Ghbdtn → Привет and Add stores ghbdtn → привет in the working rules file"
    select_tab 3 || { fail "$what (no Dictionary tab)"; return; }
    local mark
    mark=$(log_mark)
    click_control 1031 && xdotool type --delay 30 'Ghbdtn'
    # xdotool loses the first characters it has to remap into the keymap: type the Cyrillic
    # word with a Russian keymap instead.
    click_control 1032 && setxkbmap ru && xdotool type --delay 30 'Привет'
    setxkbmap us
    click_control 1033
    if e2e_wait_for 5 rules_have_pair && e2e_wait_for 5 pair_listed && e2e_wait_for 5 logged_since "$mark" "engine reloaded" &&
        [ -z "$(ask text 1031)" ]; then
        pass "$what"
    else
        fail "$what (pair list: $(ask list-rows 1030 | tr '\n\t' '; '), fields '$(ask text 1031)' '$(ask text 1032)')"
    fi
}

status_is() { [ "$(ask text 1064)" = "$1" ]; }
server_listening() { grep -q listening "$work/feedback.log" 2>/dev/null; }
port_closed() { ! python3 -c "import socket,sys; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null; }
last_body_ok() {
    tail -n 1 "$work/feedback.log" | python3 -c '
import json, os, sys
r = json.loads(sys.stdin.read())
b = json.loads(r["body"])
ok = (r["path"] == "/api/quillom/feedback" and r["type"] == "application/json"
      and list(b) == ["type", "message", "appVersion", "osVersion", "arch", "locale"]
      and b["type"] == "bug" and b["message"] == "Settings window feedback test"
      and b["appVersion"] == os.environ["QUILLOM_VERSION"] and b["osVersion"].startswith("Windows ") and b["arch"] == "x86_64")
sys.exit(0 if ok else 1)'
}

send_and_expect() {
    local what=$1 expected=$2
    click_control 1063
    if e2e_wait_for 15 status_is "$expected" && e2e_wait_for 5 helper enabled 1063; then return 0; fi
    fail "$what (status '$(ask text 1064)')"
    return 1
}

case_feedback() {
    select_tab 7 || { fail "4 feedback (no Feedback tab)"; return; }
    python3 "$here/feedback_server.py" "$port" "$work/feedback.log" 201 429 500 &
    server_pid=$!
    e2e_wait_for 10 server_listening || { fail "4 feedback (no loopback server)"; return; }
    local what="4a a 201 answer shows the thank-you line, clears the message and sent the body"
    click_control 1062 && xdotool type --delay 20 'Settings window feedback test'
    if send_and_expect "$what" "Thank you! Your feedback was sent."; then
        if [ -z "$(ask text 1062)" ] && last_body_ok; then pass "$what"; else fail "$what (body: $(tail -n 1 "$work/feedback.log"))"; fi
    fi
    click_control 1062 && xdotool type --delay 20 'Settings window feedback test'
    what="4b a 429 answer shows the rate-limit line"
    send_and_expect "$what" "Too many submissions — please try later." && pass "$what"
    what="4c a 500 answer shows the rejected line"
    send_and_expect "$what" "The server rejected the request." && pass "$what"
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
    server_pid=""
    e2e_wait_for 10 port_closed
    what="4d with the server stopped the network-error line shows"
    send_and_expect "$what" "Could not send (network error)." && pass "$what"
}

ui_language_is() { tr -d ' \t\r\n' <"$settings/user_preferences.json" | grep -qF "\"ui_language\":\"$1\""; }

# Picks the interface language by keyboard in the General tab's list, then waits for the
# window to come back in that language.
switch_language() {
    local keys=$1 title=$2 code=$3
    select_tab 0 && click_control 1006 && xdotool key $keys Return
    e2e_wait_for 10 window_title_is "$title" && e2e_wait_for 5 helper shows 1006 && ui_language_is "$code"
}

case_languages() {
    local what="5 the window is rebuilt in Ukrainian and Russian, keeping the settings and fitting every text"
    local mark problems=""
    mark=$(log_mark)
    if switch_language Down "Налаштування Quillom" uk; then
        screenshot uk-0-general
        select_tab 3 && screenshot uk-3-dictionary
    else
        problems="$problems no Ukrainian window;"
    fi
    if switch_language Down "Настройки Quillom" ru; then
        screenshot ru-0-general
        select_tab 3 && screenshot ru-3-dictionary
    else
        problems="$problems no Russian window;"
    fi
    # The dictionary pair of case 3 is still there after two rebuilds.
    pair_listed || problems="$problems pair not listed;"
    local clipped
    clipped=$(lines_since "$mark" "layout: ")
    [ "$(lines_since "$mark" "layout check: " | grep -c ", 0 clipped")" -ge 2 ] || problems="$problems no layout checks;"
    [ -n "$clipped" ] && problems="$problems clipped: $(echo "$clipped" | tr '\n' ';')"
    # Each step rebuilds the window at once.
    { switch_language Up "Налаштування Quillom" uk && switch_language Up "Quillom Settings" en; } ||
        problems="$problems not back to English;"
    if [ -z "$problems" ]; then pass "$what"; else fail "$what ($problems)"; fi
}

focus_is() { [ "$(ask focused)" = "$1" ]; }

# The General page's controls in tab order: interface language, update frequency, Check Now,
# launch at login.
case_keyboard_navigation() {
    local what="7 Tab moves through the General tab's controls, Shift+Tab back, Esc closes"
    open_settings && select_tab 0 || { fail "$what (no window)"; return; }
    local id first second problems=""
    # The tab control first, then the page's first control.
    click_rect "$(ask tab-rect 0)"
    e2e_wait_for 5 focus_is 1000 || problems="$problems tab control not focused ($(ask focused));"
    xdotool key Tab
    e2e_wait_for 5 focus_is 1006 || problems="$problems first Tab: $(ask focused);"
    first=$(ask focused)
    xdotool key Tab
    e2e_wait_for 5 focus_is 1004 || problems="$problems second Tab: $(ask focused);"
    second=$(ask focused)
    screenshot keyboard-focus-second-control
    xdotool key shift+Tab
    e2e_wait_for 5 focus_is "$first" || problems="$problems Shift+Tab: $(ask focused);"
    xdotool key Escape
    e2e_wait_for 5 window_gone || problems="$problems Esc did not close;"
    if [ -z "$problems" ]; then
        pass "$what (focus $first then $second; screenshot: $artifacts/keyboard-focus-second-control.png)"
    else
        fail "$what ($problems)"
    fi
}
window_gone() { [ "$(ask windows)" = 0 ]; }

case_high_dpi() {
    local what="6 at 150 % the window and its font scale and nothing is clipped"
    stop_quillom
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f </dev/null >/dev/null 2>&1
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    local mark
    mark=$(log_mark)
    if ! start_quillom || ! open_settings; then fail "$what (no window)"; return; fi
    local size
    size=$(ask window-rect | cut -d' ' -f3)
    if [ "$size" != 840 ]; then fail "$what (window is $size pixels wide)"; return; fi
    case_all_tabs "$what" "150-en" "$mark"
}

# --- run -----------------------------------------------------------------------------------

mkdir -p "$settings"
touch "$E2E_USER_DIR/.quillom_dev"
write_prefs
if ! start_quillom; then
    fail "Quillom did not start"
else
    case_open_twice
    case_all_tabs "2 every tab in English at 100 % shows with nothing clipped" en 0
    case_dictionary_pair
    case_feedback
    case_languages
    case_keyboard_navigation
    case_high_dpi
    stop_quillom
fi
cp "$log" "$artifacts/quillom.log" 2>/dev/null
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
