# Cases of run.sh for Backspace after a correction, the application modes and the portable
# copy; sourced by run.sh, they use its helpers and run after its own cases.

case_backspace_takes_back() {
    local what="24a Backspace right after a wrong correction restores the typed word; the next one deletes"
    clear_notepad
    type_text 30 'ok ghbdtn '
    if ! expect_text 'ok привет '; then fail "$what (no correction: '$actual')"; return; fi
    # A person answers a word only after reading it: a key pressed in the first tenth of a
    # second after the replacement (while held keys still wait for the layout) deletes.
    sleep 0.3
    local started ms mark
    mark=$(log_mark)
    started=$(date +%s%N)
    xdotool key BackSpace
    if ! expect_text 'ok ghbdtn '; then fail "$what (after Backspace: '$actual')"; return; fi
    if ! logged_since "$mark" "undo: taken back by Backspace"; then fail "$what (not through Undo)"; return; fi
    ms=$(( ($(date +%s%N) - started) / 1000000 ))
    xdotool key BackSpace
    if expect_text 'ok ghbdtn'; then pass "$what (word back ${ms} ms after the key)"; else fail "$what (second Backspace: '$actual')"; fi
}

restart_with_prefs() {
    stop_quillom
    write_prefs "$1"
    start_quillom wait-ready
}

case_hotkeys_only_app() {
    local what="24b in an application set to hotkeys only a word stays as typed and Convert converts it"
    restart_with_prefs "$(test_prefs '"notepad.exe":{"name":"Notepad","disable_manual_switching":false,"path":""}')" ||
        { fail "$what (Quillom did not start)"; return; }
    clear_notepad
    type_text 30 'ok ghbdtn '
    if ! expect_text 'ok ghbdtn '; then fail "$what (corrected: '$actual')"; return; fi
    printf 'ghbdtn' >"$work/selection.txt"
    helper settext "$(winpath "$work/selection.txt")"
    focus "$notepad"
    xdotool key ctrl+a
    xdotool key ctrl+shift+k
    if expect_text 'привет'; then pass "$what"; else fail "$what (after Convert: '$actual')"; fi
}

case_off_app() {
    local what="24b in an application set to off the hotkeys are let through and nothing is converted"
    local mark
    mark=$(log_mark)
    restart_with_prefs "$(test_prefs '"notepad.exe":{"name":"Notepad","disable_manual_switching":true,"path":""}')" ||
        { fail "$what (Quillom did not start)"; return; }
    printf 'lheu' >"$work/selection.txt"
    helper settext "$(winpath "$work/selection.txt")"
    focus "$notepad"
    e2e_wait_for 5 logged_since "$mark" "hotkeys: off while notepad.exe is in front" ||
        { fail "$what (hotkeys still registered)"; return; }
    xdotool key ctrl+a
    xdotool key ctrl+shift+k
    if expect_text 'lheu' && ! logged_since "$mark" "convert:"; then
        pass "$what"
    else
        fail "$what (got '${actual:-}')"
    fi
}

# The release zip unpacked as a user would, started from its folder.
case_portable_copy() {
    local what="24c the release zip is a portable copy: its settings and log beside it, nothing in LOCALAPPDATA or the Run key"
    local zip portable="$work/USB/Quillom" local_before="$work/localappdata-before"
    stop_quillom
    zip=$(ls "$build"/dist/Quillom-*-win64.zip | head -n 1)
    mkdir -p "$work/USB"
    python3 -m zipfile -e "$zip" "$work/USB" || { fail "$what (could not unpack $zip)"; return; }
    [ -f "$portable/Quillom.portable" ] || { fail "$what (no marker in the zip)"; return; }
    mv "$settings" "$local_before"
    local run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
    wine reg delete "$run_key" /v Quillom /f </dev/null >/dev/null 2>&1
    (cd "$portable" && exec wine Quillom.exe </dev/null >>"$work/portable.out" 2>&1) &
    quillom_pid=$!
    e2e_wait_for 30 helper has-window QuillomTrayApp || { fail "$what (did not start)"; return; }
    local data="$portable/QuillomData"
    e2e_wait_for 10 test -f "$data/user_preferences.json" || problem "no QuillomData/user_preferences.json"
    [ -f "$data/quillom_rules.json" ] || problem "no QuillomData/quillom_rules.json"
    stop_quillom
    # The developer log of a portable copy is beside it too.
    test_prefs >"$data/user_preferences.json"
    local temp_log_lines
    temp_log_lines=$(log_mark)
    mv "$portable" "$work/USB/Moved"
    portable="$work/USB/Moved"
    (cd "$portable" && exec wine Quillom.exe </dev/null >>"$work/portable.out" 2>&1) &
    quillom_pid=$!
    e2e_wait_for 30 grep -q "started: hooks installed" "$portable/QuillomData/quillom.log" ||
        problem "the moved copy did not log beside it"
    clear_notepad
    type_text 30 'ok ghbdtn '
    expect_text 'ok привет ' || problem "no correction from the moved copy: '$actual'"
    stop_quillom
    [ "$(log_mark)" = "$temp_log_lines" ] || problem "it wrote to %TEMP%\\quillom.log"
    [ ! -e "$settings" ] || problem "it created $(ls "$settings" | tr '\n' ' ') in LOCALAPPDATA\\Quillom"
    ! wine reg query "$run_key" /v Quillom </dev/null >/dev/null 2>&1 || problem "a Run value exists"
    rm -rf "$settings"
    mv "$local_before" "$settings"
    report "$what"
}
