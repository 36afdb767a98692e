; Quillom setup: a per-user installer without elevation.
;
;   makensis -INPUTCHARSET UTF8 -DDIST_DIR=<distribution folder> -DOUT_FILE=<setup.exe>
;            [-DICON_FILE=<quillom.ico>] -DVERSION=<version> quillom.nsi
;
; The installer closes a running Quillom the way its tray Quit does, replaces
; the program files and never touches the settings folder (%LOCALAPPDATA%\Quillom),
; so the next start merges the new template rules with the user's overrides.
; A silent install (/S) that had to close Quillom starts it again afterwards.

!ifndef DIST_DIR | OUT_FILE
    !error "define DIST_DIR and OUT_FILE"
!endif
!ifndef VERSION
    !error "define VERSION (the build passes the project's version)"
!endif

!define APP_NAME "Quillom"
!define PUBLISHER "Brevant"
!define APP_EXE "Quillom.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillom"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define WINDOW_CLASS "QuillomTrayApp"
; WM_COMMAND id of the tray menu's Quit.
!define QUIT_COMMAND 2015
!define QUIT_TIMEOUT_MS 10000

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

Name "${APP_NAME}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Quillom"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A locked file must not be skipped silently: a half-replaced program is worse than none.
AllowSkipFiles off
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${APP_NAME} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!ifdef ICON_FILE
    !define MUI_ICON "${ICON_FILE}"
    !define MUI_UNICON "${ICON_FILE}"
!endif
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartQuillom)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartQuillom
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; With no language dialog, the installer and the uninstaller each pick the
; language matching the system's interface language; English otherwise.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Ukrainian"
!insertmacro MUI_LANGUAGE "Russian"

!include "${__FILEDIR__}/strings.nsh"

Var QuillomWasRunning

; Closes every running Quillom: the tray Quit command, then a wait for the
; process to end (its exe and DLL stay locked until then). Aborts when one
; does not go away and the user does not retry.
!macro DEFINE_CLOSE_QUILLOM PREFIX
Function ${PREFIX}CloseQuillom
    StrCpy $QuillomWasRunning 0
    ${Do}
        FindWindow $0 "${WINDOW_CLASS}"
        ${If} $0 = 0
            ${Break}
        ${EndIf}
        StrCpy $QuillomWasRunning 1
        DetailPrint "$(ClosingQuillom)"
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        ; SYNCHRONIZE
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
        SendMessage $0 ${WM_COMMAND} ${QUIT_COMMAND} 0 /TIMEOUT=${QUIT_TIMEOUT_MS}
        ${If} $2 P<> 0
            System::Call 'kernel32::WaitForSingleObject(p r2, i ${QUIT_TIMEOUT_MS}) i .r3'
            System::Call 'kernel32::CloseHandle(p r2)'
        ${Else}
            ; No handle to wait on: wait for the window instead.
            StrCpy $3 1
            ${For} $4 1 100
                IsWindow $0 0 window_gone
                Sleep 100
            ${Next}
            Goto waited
            window_gone:
            StrCpy $3 0
            waited:
        ${EndIf}
        ; 0 is WAIT_OBJECT_0: the process has ended.
        ${If} $3 <> 0
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(QuillomStillRunning)" /SD IDCANCEL IDRETRY retry
            Abort "$(QuillomStillRunning)"
            retry:
        ${EndIf}
    ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_QUILLOM ""
!insertmacro DEFINE_CLOSE_QUILLOM "un."

Function StartQuillom
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\${APP_EXE}"'
FunctionEnd

Section "Quillom" SecProgram
    Call CloseQuillom
    SetOutPath "$INSTDIR"
    SetOverwrite on
    File "${DIST_DIR}/Quillom.exe"
    File "${DIST_DIR}/QuillomCABI.dll"
    File "${DIST_DIR}/quillom_rules.json"
    File "${DIST_DIR}/NOTICE.txt"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    CreateShortcut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\${APP_EXE}" "" "$INSTDIR\${APP_EXE}" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${APP_EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecProgram} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; Launch at login, when the user turned it on, follows the program to where it is now.
    ReadRegStr $0 HKCU "${RUN_KEY}" "Quillom"
    ${If} $0 != ""
        WriteRegStr HKCU "${RUN_KEY}" "Quillom" '"$INSTDIR\${APP_EXE}"'
    ${EndIf}

    ; The finish page offers the start; a silent upgrade restores what it closed.
    ${If} ${Silent}
    ${AndIf} $QuillomWasRunning = 1
        Call StartQuillom
    ${EndIf}
SectionEnd

Section "Uninstall"
    Call un.CloseQuillom
    Delete "$INSTDIR\Quillom.exe"
    Delete "$INSTDIR\QuillomCABI.dll"
    Delete "$INSTDIR\quillom_rules.json"
    Delete "$INSTDIR\NOTICE.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Only an emptied folder goes: anything else in it is the user's.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegValue HKCU "${RUN_KEY}" "Quillom"

    ; The personal dictionary and preferences stay unless the user says otherwise.
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(DeleteSettings)" /SD IDNO IDNO keep_settings
    RMDir /r "$LOCALAPPDATA\Quillom"
    keep_settings:
SectionEnd
