#!/usr/bin/env bash
# End-to-end tests of the setup program under Wine and Xvfb: silent install into
# a fresh prefix, the installed program correcting text in notepad, a silent
# upgrade over the running program, a silent uninstall, the page language, an
# interactive install whose finish page starts the program and an interactive
# uninstall whose settings question defaults to keeping them.
#
#   tests/e2e/installer.sh [build-dir]      (default: build/windows)
#
# Builds the targets quillom_installer and quillom_e2e_helper of that Windows
# build. Prints one line per case and "N passed, M failed"; exits 0 only when
# all passed. Artifacts (logs, screenshots) go to <build-dir>/installer-e2e-artifacts.
# Nothing waits a fixed time: every wait polls for what it needs, with a deadline.
set -u

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build/windows}" && pwd) || exit 2
dist="$build/dist/Quillom"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup_exe="$build/dist/Quillom-$version-setup.exe"
helper_exe="$build/tests/e2e/quillom_e2e_helper.exe"

# shellcheck source=wine_env.sh
source "$here/wine_env.sh"
E2E_PACKAGES="$E2E_PACKAGES nsis"
e2e_install_packages || { echo "could not install $E2E_PACKAGES" >&2; exit 2; }
# A build configured before makensis was there has no installer target yet.
grep -q '^QUILLOM_MAKENSIS:FILEPATH=/' "$build/CMakeCache.txt" || cmake "$build" >/dev/null || exit 2
cmake --build "$build" --target quillom_installer quillom_winget quillom_e2e_helper >/dev/null || { echo "build failed" >&2; exit 2; }
for f in "$setup_exe" "$helper_exe"; do
    [ -f "$f" ] || { echo "missing $f" >&2; exit 2; }
done

trap 'e2e_env_stop' EXIT
e2e_begin "$build/installer-e2e-work" "$build/installer-e2e-artifacts" "$helper_exe"

win_user="C:\\users\\$(id -un)"
inst="$E2E_USER_DIR/AppData/Local/Programs/Quillom"
inst_win="$win_user\\AppData\\Local\\Programs\\Quillom"
shortcut="$E2E_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quillom.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillom'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
program_files="Quillom.exe QuillomCABI.dll quillom_rules.json quillom_lexicon.bin NOTICE.txt"


# Runs the setup program silently; its exit code is the result.
silent_setup() { wine "$setup_exe" /S </dev/null >>"$work/setup.out" 2>&1; }

# The data of one registry value, or nothing (and failure) when it is missing.
reg_value() {
    local out
    out=$(wine reg query "$1" /v "$2" </dev/null 2>/dev/null) || return 1
    printf '%s\n' "$out" | tr -d '\r' | sed -n "s/^ *$2 \{4\}REG_[A-Z_]* \{4\}//p"
}
reg_key_exists() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
reg_key_gone() { ! reg_key_exists "$1"; }

# Linux process ids of Quillom.exe programs running in this script's prefix: other
# Wine prefixes on the machine may run theirs. The setup's name does not match.
quillom_pids() {
    local pid
    for pid in $(ps -eo pid=,stat=,args= | awk '$2 !~ /^Z/ && /Quillom\.exe/ { print $1 }'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && printf '%s ' "$pid"
    done
}
no_quillom() { [ -z "$(quillom_pids)" ]; }

ready_lines() { grep -c "started: hooks installed" "$log" 2>/dev/null || echo 0; }
more_ready_lines() { [ "$(ready_lines)" -gt "$1" ]; }
log_mark() { wc -l <"$log" 2>/dev/null || echo 0; }
logged_since() { tail -n +"$(($1 + 1))" "$log" 2>/dev/null | grep -qF -- "$2"; }

# Preferences of a test run: the debug log shows when Quillom is ready; no sounds.
write_test_prefs() {
    mkdir -p "$settings"
    printf '{"active_languages":["en","uk","ru"],"debug_log":true,"play_sound_on_correction":false}' \
        >"$settings/user_preferences.json"
}

# --- notepad -----------------------------------------------------------------

notepad=""
start_notepad() {
    wine notepad </dev/null >/dev/null 2>&1 &
    notepad=$(timeout 30 xdotool search --sync --onlyvisible --name 'Untitled - Notepad' | head -n 1)
    [ -n "$notepad" ]
}
# Without a window manager, a click is what makes a window Wine's foreground window.
focus() { xdotool mousemove --window "$1" 200 120 click 1; }
notepad_text() { helper gettext "$(winpath "$work/text.txt")" && cat "$work/text.txt"; }
text_is() { [ "$(notepad_text)" = "$1" ]; }
expect_text() {
    if e2e_wait_for 5 text_is "$1"; then return 0; fi
    actual=$(notepad_text)
    return 1
}
clear_notepad() {
    : >"$work/empty.txt"
    helper settext "$(winpath "$work/empty.txt")"
    focus "$notepad"
}
type_and_expect() {
    clear_notepad
    xdotool type --delay 30 "$1"
    expect_text "$2"
}

# --- the cases -------------------------------------------------------------------

check_installed_files() {
    local f
    for f in $program_files; do
        cmp -s "$dist/$f" "$inst/$f" || problem "$f differs from the distribution or is missing"
    done
    [ -f "$inst/uninstall.exe" ] || problem "no uninstall.exe"
    [ -f "$shortcut" ] || problem "no Start menu shortcut"
}

check_uninstall_entry() {
    local name expected actual
    while IFS='|' read -r name expected; do
        actual=$(reg_value "$uninstall_key" "$name")
        [ "$actual" = "$expected" ] || problem "$name is '$actual', not '$expected'"
    done <<EOF
DisplayName|Quillom
DisplayVersion|$version
Publisher|Brevant
DisplayIcon|$inst_win\\Quillom.exe,0
InstallLocation|$inst_win
UninstallString|"$inst_win\\uninstall.exe"
QuietUninstallString|"$inst_win\\uninstall.exe" /S
NoModify|0x1
NoRepair|0x1
EOF
    # The size of the program files in KiB, give or take rounding per file.
    local bytes=0 f
    for f in $program_files; do bytes=$((bytes + $(stat -c %s "$dist/$f"))); done
    local size
    size=$(($(reg_value "$uninstall_key" EstimatedSize)))
    [ $((size - bytes / 1024)) -ge 0 ] && [ $((size - bytes / 1024)) -le 8 ] ||
        problem "EstimatedSize $size KiB for $((bytes / 1024)) KiB of files"
}

case_silent_install() {
    local what="1 a silent install into a fresh prefix puts files, shortcut and uninstall entry in place"
    silent_setup || problem "setup exited with $?"
    check_installed_files
    check_uninstall_entry
    [ -e "$settings" ] && problem "the setup created the settings folder"
    report "$what"
}

case_installed_program_corrects() {
    local what="2 the installed program starts from its shortcut and corrects ghbdtn+Space in notepad"
    touch "$E2E_USER_DIR/.quillom_dev"
    write_test_prefs
    local before
    before=$(ready_lines)
    wine start /unix "$shortcut" </dev/null >/dev/null 2>&1
    if ! e2e_wait_for 30 more_ready_lines "$before"; then fail "$what (Quillom did not start)"; return; fi
    if ! start_notepad; then fail "$what (notepad did not start)"; return; fi
    if type_and_expect 'ghbdtn ' 'привет '; then pass "$what"; else fail "$what (got '$actual')"; fi
}

pair_typed=zqxv
pair_word=квілом
# The working rules file is printed one member a line; a fresh one has empty pair objects.
add_dictionary_pair() {
    local rules="$settings/quillom_rules.json"
    sed -i -E -e "s/^(    \"exact_pairs\": )\{\}/\1{\"$pair_typed\": \"$pair_word\"}/" \
        -e "s/^(    \"exact_pairs_meta\": )\{\}/\1{\"$pair_typed\": {\"src\": \"en\", \"dst\": \"uk\"}}/" "$rules"
    pair_kept
}
pair_kept() { tr -d ' \r\n' 2>/dev/null <"$settings/quillom_rules.json" | grep -qF "\"$pair_typed\":\"$pair_word\""; }

case_upgrade_over_running() {
    local what="3 a silent install over the running program closes it by Quit, replaces the files, restarts it and keeps the dictionary pair and settings"
    add_dictionary_pair || { fail "$what (could not add the pair to the working rules file)"; return; }
    cp "$settings/user_preferences.json" "$work/prefs-before.json"
    # An older program's notice, to see the files being replaced.
    printf 'Quillom 1.1.31\n' >"$inst/NOTICE.txt"
    # Launch at login, turned on from an older place, follows the program.
    wine reg add "$run_key" /v Quillom /t REG_SZ /d '"C:\Quillom-old\Quillom.exe"' /f </dev/null >/dev/null 2>&1
    local old_pids mark before
    old_pids=$(quillom_pids)
    [ -n "$old_pids" ] || { fail "$what (Quillom is not running)"; return; }
    mark=$(log_mark)
    before=$(ready_lines)
    silent_setup || problem "setup exited with $?"
    local pid
    for pid in $old_pids; do not_running "$pid" || problem "the old Quillom (pid $pid) still runs"; done
    # The shutdown line is written only when the message loop ended through Quit.
    logged_since "$mark" "hook timing:" || problem "Quillom did not shut down through its message loop"
    e2e_wait_for 30 more_ready_lines "$before" || problem "Quillom was not started again"
    check_installed_files
    local run_value
    run_value=$(reg_value "$run_key" Quillom)
    [ "$run_value" = "\"$inst_win\\Quillom.exe\"" ] || problem "the Run value is '$run_value'"
    cmp -s "$work/prefs-before.json" "$settings/user_preferences.json" || problem "the preferences changed"
    pair_kept || problem "the dictionary pair is gone from the working rules file"
    type_and_expect "$pair_typed " "$pair_word " || problem "the pair is not applied: '$actual'"
    type_and_expect 'ghbdtn ' 'привет ' || problem "ghbdtn+Space gave '$actual'"
    report "$what"
}

uninstalled() { [ ! -e "$inst" ] && reg_key_gone "$uninstall_key"; }

case_silent_uninstall() {
    local what="4 a silent uninstall closes Quillom and removes files, shortcut, uninstall entry and Run value, keeping the settings folder"
    wine reg add "$run_key" /v Quillom /t REG_SZ /d "\"$inst_win\\Quillom.exe\"" /f </dev/null >/dev/null 2>&1
    local old_pids
    old_pids=$(quillom_pids)
    [ -n "$old_pids" ] || problem "Quillom was not running before the uninstall"
    # The uninstaller runs on from a copy of itself, so its end is polled for.
    wine "$(reg_value "$uninstall_key" InstallLocation)\\uninstall.exe" /S </dev/null >>"$work/setup.out" 2>&1 ||
        problem "uninstall.exe exited with $?"
    e2e_wait_for 30 uninstalled || problem "program folder or uninstall entry still there"
    e2e_wait_for 10 no_quillom || problem "Quillom still runs"
    [ -e "$shortcut" ] && problem "the shortcut is still there"
    reg_value "$run_key" Quillom >/dev/null && problem "the Run value is still there"
    [ -f "$settings/user_preferences.json" ] || problem "the preferences are gone"
    pair_kept || problem "the dictionary pair is gone"
    report "$what"
}

setup_pid=""
start_setup_window() {
    local lang=$1 caption=$2
    LANG=$lang LC_ALL=$lang wine "$setup_exe" </dev/null >>"$work/setup.out" 2>&1 &
    setup_pid=$!
    setup_window=""
    e2e_wait_for 30 setup_window_titled "$caption"
}
# Names setup_window after the visible window with this caption. A window of
# the setup started before may still be closing, so every match is read.
# xdotool matches names against WM_NAME, where Cyrillic is lost; getwindowname
# reads the UTF-8 name.
setup_window_titled() {
    local w
    for w in $(xdotool search --onlyvisible --name 'Quillom' 2>/dev/null); do
        if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ]; then
            setup_window=$w
            return 0
        fi
    done
    return 1
}
stop_setup() {
    kill "$setup_pid" 2>/dev/null
    e2e_wait_for 10 not_running "$setup_pid"
    wait "$setup_pid" 2>/dev/null
}

case_page_language() {
    local what="5 the setup pages follow the system language"
    local lang caption
    while IFS='|' read -r lang caption; do
        if start_setup_window "$lang" "$caption"; then
            import -window root "$artifacts/setup-${lang%%.*}.png"
        else
            problem "$lang: no window titled '$caption'"
        fi
        stop_setup
    done <<'EOF'
en_US.UTF-8|Quillom Setup
uk_UA.UTF-8|Quillom Встановлення
ru_RU.UTF-8|Установка Quillom
EOF
    report "$what (screenshots: $artifacts/setup-*.png)"
}

quillom_window() { helper has-window QuillomTrayApp; }
# Enter on each page in turn: Next, Install, then Finish with "Start Quillom" as it is.
press_enter_until_started() {
    if ! not_running "$setup_pid"; then
        xdotool mousemove --window "$setup_window" 40 40 click 1 key Return
    fi
    quillom_window && not_running "$setup_pid"
}

case_interactive_install() {
    local what="6 an interactive install with the defaults starts Quillom from its finish page"
    if ! start_setup_window en_US.UTF-8 'Quillom Setup'; then fail "$what (no setup window)"; stop_setup; return; fi
    if e2e_wait_for 60 press_enter_until_started; then
        check_installed_files
        reg_key_exists "$uninstall_key" || problem "no uninstall entry"
    else
        import -window root "$artifacts/interactive-setup.png"
        problem "Quillom did not start (screenshot: $artifacts/interactive-setup.png)"
        stop_setup
    fi
    report "$what"
}

# The smallest visible window of the uninstaller: the question box while it shows.
smallest_uninstall_window() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Quillom Uninstall'); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        echo "$((WIDTH * HEIGHT)) $w"
    done | sort -n | head -n 1 | cut -d' ' -f2
}

# Enter on each step: Uninstall, then the settings question's default, then Close.
# The click gives the box the focus, which it does not get by itself here.
press_enter_until_uninstalled() {
    local w
    w=$(smallest_uninstall_window)
    [ -n "$w" ] && xdotool mousemove --window "$w" 8 8 click 1 key Return
    uninstalled && [ -z "$w" ]
}

case_interactive_uninstall() {
    local what="7 an interactive uninstall answered with the defaults keeps the settings folder"
    wine "$inst/uninstall.exe" </dev/null >>"$work/setup.out" 2>&1 &
    if ! e2e_wait_for 60 press_enter_until_uninstalled; then
        import -window root "$artifacts/interactive-uninstall.png"
        problem "not uninstalled (screenshot: $artifacts/interactive-uninstall.png)"
    fi
    e2e_wait_for 10 no_quillom || problem "Quillom still runs"
    [ -f "$settings/user_preferences.json" ] || problem "the preferences are gone"
    pair_kept || problem "the dictionary pair is gone"
    report "$what"
}

stop_quillom() {
    helper close-quillom
    e2e_wait_for 20 no_quillom
}

# --- run -----------------------------------------------------------------------

# The manifests a package manager installs from name this very setup program.
case_winget_manifest() {
    local what="24d the package manager's manifests carry the version, every required field and this setup program's SHA-256"
    local out
    if out=$(python3 "$here/../../installer/winget_manifest.py" --check --installer "$setup_exe" \
        --out "$build/dist/winget" 2>&1); then
        pass "$what"
    else
        fail "$what ($(printf '%s' "$out" | tr '\n' ' '))"
    fi
}

started=$(date +%s)
case_winget_manifest
case_silent_install
case_installed_program_corrects
case_upgrade_over_running
case_silent_uninstall
case_page_language
case_interactive_install
case_interactive_uninstall
stop_quillom
cp "$log" "$artifacts/quillom.log" 2>/dev/null
cp "$work/setup.out" "$artifacts/setup.out" 2>/dev/null
echo "$passed passed, $failed failed ($(($(date +%s) - started)) s)"
[ "$failed" = 0 ]
