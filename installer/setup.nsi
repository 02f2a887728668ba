; The suite's per-user installer. Built by the CMake target "package":
;   makensis -DVERSION=1.01 -DSTAGE=<staged product> -DOUTFILE=<setup.exe> setup.nsi
;
; Installs into the user's own programs folder without administrator
; rights, adds Start menu entries, starts the resident program at sign-in
; and registers an uninstaller with Add/Remove Programs, all under HKCU.
;
; Command line (besides the usual /S and /D=folder):
;   setup /S /NOSTART           silent install that does not start the monitor
;   uninstall /S /REMOVESETTINGS silent uninstall that also removes the profiles
;                               and macros (a silent uninstall keeps them)

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!ifndef VERSION
  !error "VERSION must be defined"
!endif
!ifndef STAGE
  !error "STAGE must be defined"
!endif
!ifndef OUTFILE
  !error "OUTFILE must be defined"
!endif
!ifndef ICON
  !error "ICON must be defined"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include WordFunc.nsh

!define PRODUCT "Orvex Gaming Mouse"
!define PUBLISHER "Orvex"
!define APPKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvexGamingMouse"
!define RUNKEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUNVALUE "Orvex Gaming Mouse"
!define MENUDIR "$SMPROGRAMS\${PRODUCT}"
!define MONITOR_WINDOW "Orvex_Gaming_Mouse_Normal_Monitor"
!define OPTION_WINDOW "Brennick"
!define OSD_WINDOW "Orvex_Gaming_Mouse_Normal_OSD"
!define EMULATOR_CLASS "GmVirtualMouseWindow"
!define MONITOR_EXIT_COMMAND 6002
!define SETUP_MUTEX "Orvex_Gaming_Mouse_Setup"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${APPKEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 the ${PRODUCT} developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEPAGE_TEXT "This will install ${PRODUCT} ${VERSION} for you alone, in your own programs folder; no administrator rights are needed.$\r$\n$\r$\nThe resident program starts when you sign in and keeps the mouse's settings. If an older version is running, setup ends it first; your profiles and macros are kept.$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartMonitor
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\readme.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var NoStart
Var RemoveSettings
Var HeldOption
Var HeldOsd

; ---------------------------------------------------------------- helpers

; Ends a window's program politely and waits up to 5 s for the window to go.
; Leaves "ok" or "stuck" on the stack. Nothing is killed.
!macro END_WINDOW UN
Function ${UN}EndWindow
    Exch $R0          ; how to ask: "monitor", "option", "osd" or "emulator"
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    Call ${UN}FindSuiteWindow
    StrCpy $R3 0
    ${If} $R1 <> 0
        ; Its process too: a window can go some time before the program
        ; has let go of its files.
        System::Call 'user32::GetWindowThreadProcessId(p R1, *i .R4)'
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R4) p .R3' ; SYNCHRONIZE
        ${If} $R0 == "monitor"
            ; The tray's Exit command: the monitor closes its dialogs,
            ; releases the mouse and ends.
            SendMessage $R1 ${WM_COMMAND} ${MONITOR_EXIT_COMMAND} 0 /TIMEOUT=2000
        ${Else}
            SendMessage $R1 ${WM_CLOSE} 0 0 /TIMEOUT=2000
        ${EndIf}
    ${EndIf}
    StrCpy $R2 0
    ${Do}
        Call ${UN}FindSuiteWindow
        ${If} $R1 = 0
            ${If} $R3 = 0
                ${Break}
            ${EndIf}
            System::Call 'kernel32::WaitForSingleObject(p R3, i 0) i .R4'
            ${If} $R4 = 0 ; WAIT_OBJECT_0: the program has ended
                ${Break}
            ${EndIf}
        ${EndIf}
        ${If} $R2 >= 50
            ${Break}
        ${EndIf}
        Sleep 100
        IntOp $R2 $R2 + 1
    ${Loop}
    ${If} $R3 <> 0
        System::Call 'kernel32::CloseHandle(p R3)'
    ${EndIf}
    ${If} $R2 >= 50
        StrCpy $R0 "stuck"
    ${Else}
        StrCpy $R0 "ok"
    ${EndIf}
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd

; $R1 = the window of the program named in $R0, or 0.
Function ${UN}FindSuiteWindow
    ${If} $R0 == "monitor"
        FindWindow $R1 "" "${MONITOR_WINDOW}"
    ${ElseIf} $R0 == "option"
        FindWindow $R1 "" "${OPTION_WINDOW}"
    ${ElseIf} $R0 == "osd"
        FindWindow $R1 "" "${OSD_WINDOW}"
    ${Else}
        FindWindow $R1 "${EMULATOR_CLASS}" ""
    ${EndIf}
FunctionEnd

; A handle to wait on the process of the window named on the stack (as for
; EndWindow), or 0 when that window is not open. Leaves it on the stack.
Function ${UN}HoldProcess
    Exch $R0
    Push $R1
    Push $R4
    Call ${UN}FindSuiteWindow
    ${If} $R1 <> 0
        System::Call 'user32::GetWindowThreadProcessId(p R1, *i .R4)'
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R4) p .R1' ; SYNCHRONIZE
    ${EndIf}
    StrCpy $R0 $R1
    Pop $R4
    Pop $R1
    Exch $R0
FunctionEnd

; Waits up to 5 s for a held process (handle on the stack, 0 for none) to
; end, and lets go of it. Leaves "ok" or "stuck" on the stack.
Function ${UN}WaitHeld
    Exch $R0
    Push $R1
    StrCpy $R1 "ok"
    ${If} $R0 <> 0
        System::Call 'kernel32::WaitForSingleObject(p R0, i 5000) i .R1'
        System::Call 'kernel32::CloseHandle(p R0)'
        ${If} $R1 = 0 ; WAIT_OBJECT_0
            StrCpy $R1 "ok"
        ${Else}
            StrCpy $R1 "stuck"
        ${EndIf}
    ${EndIf}
    StrCpy $R0 $R1
    Pop $R1
    Exch $R0
FunctionEnd

; Ends the monitor (which closes the configuration program and the display),
; then whatever of the suite is still open. Aborts, saying what is still
; running, if one of them does not end within 5 s.
Function ${UN}EndSuite
    Push $R0
    ; The monitor closes the configuration program and the display as it
    ; ends; their windows can then be gone before their programs have
    ; ended. Hold their processes first, so they can be waited for.
    Push "option"
    Call ${UN}HoldProcess
    Pop $HeldOption
    Push "osd"
    Call ${UN}HoldProcess
    Pop $HeldOsd
    Push "monitor"
    Call ${UN}EndWindow
    Pop $R0
    ${If} $R0 != "ok"
        MessageBox MB_OK|MB_ICONSTOP "The ${PRODUCT} resident program did not end within 5 seconds.$\r$\n$\r$\nChoose Exit on its tray icon menu, then run this program again. Nothing has been changed." /SD IDOK
        SetErrorLevel 4
        Abort "The resident program did not end within 5 seconds; nothing was changed."
    ${EndIf}
    Push "option"
    Call ${UN}EndWindow
    Pop $R0
    ${If} $R0 == "ok"
        Push $HeldOption
        Call ${UN}WaitHeld
        Pop $R0
    ${EndIf}
    ${If} $R0 != "ok"
        MessageBox MB_OK|MB_ICONSTOP "The ${PRODUCT} configuration program did not end within 5 seconds.$\r$\n$\r$\nClose it, then run this program again. Nothing has been changed." /SD IDOK
        SetErrorLevel 4
        Abort "The configuration program did not end within 5 seconds; nothing was changed."
    ${EndIf}
    ; The monitor only asks the display to close: wait until it has ended,
    ; so its program file can be replaced or removed.
    Push "osd"
    Call ${UN}EndWindow
    Pop $R0
    ${If} $R0 == "ok"
        Push $HeldOsd
        Call ${UN}WaitHeld
        Pop $R0
    ${EndIf}
    ${If} $R0 != "ok"
        MessageBox MB_OK|MB_ICONSTOP "The ${PRODUCT} on-screen display did not end within 5 seconds.$\r$\n$\r$\nRun this program again in a moment. Nothing has been changed." /SD IDOK
        SetErrorLevel 4
        Abort "The on-screen display did not end within 5 seconds; nothing was changed."
    ${EndIf}
    Push "emulator"
    Call ${UN}EndWindow
    Pop $R0
    ${If} $R0 != "ok"
        MessageBox MB_OK|MB_ICONSTOP "The ${PRODUCT} virtual mouse did not end within 5 seconds.$\r$\n$\r$\nClose its window, then run this program again. Nothing has been changed." /SD IDOK
        SetErrorLevel 4
        Abort "The virtual mouse did not end within 5 seconds; nothing was changed."
    ${EndIf}
    Pop $R0
FunctionEnd
!macroend
!insertmacro END_WINDOW ""
!insertmacro END_WINDOW "un."

; Whether a new file can be written in $INSTDIR: tried in the folder itself,
; or in the nearest folder above it that exists, so that checking creates
; nothing. A path through a file, or on a drive that does not exist, fails.
; Leaves 1 or 0 on the stack.
Function CanWriteInstDir
    Push $R0
    Push $R1
    StrCpy $R0 "$INSTDIR"
    ${Do}
        ${If} $R0 == ""
            StrCpy $R1 0
            ${Break}
        ${EndIf}
        ${If} ${FileExists} "$R0\*.*"
            ClearErrors
            FileOpen $R1 "$R0\~orvex-setup-check.tmp" w
            ${If} ${Errors}
                StrCpy $R1 0
            ${Else}
                FileClose $R1
                Delete "$R0\~orvex-setup-check.tmp"
                StrCpy $R1 1
            ${EndIf}
            ${Break}
        ${EndIf}
        ${If} ${FileExists} "$R0"
            StrCpy $R1 0   ; a file where a folder should be
            ${Break}
        ${EndIf}
        ${GetParent} "$R0" $R0
    ${Loop}
    StrCpy $R0 $R1
    Pop $R1
    Exch $R0
FunctionEnd

Function DirectoryLeave
    Push $R0
    Call CanWriteInstDir
    Pop $R0
    ${If} $R0 != 1
        MessageBox MB_OK|MB_ICONEXCLAMATION "Setup cannot write to this folder:$\r$\n$INSTDIR$\r$\n$\r$\nChoose a folder of your own, for example the one proposed at first."
        Pop $R0
        Abort
    ${EndIf}
    Pop $R0
FunctionEnd

Function StartMonitor
    Exec '"$INSTDIR\Monitor.exe"'
FunctionEnd

; ---------------------------------------------------------------- install

Function .onInit
    ; One setup at a time: two would replace the same files under each other.
    System::Call 'kernel32::CreateMutexW(p 0, i 0, w "${SETUP_MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $1 = 183 ; ERROR_ALREADY_EXISTS
        MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} setup is already running." /SD IDOK
        SetErrorLevel 5
        Quit
    ${EndIf}
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/NOSTART" $R1
    ${IfNot} ${Errors}
        StrCpy $NoStart 1
    ${EndIf}
    ; A folder given with /D that NSIS finds unusable (on a missing drive,
    ; below a file) is dropped without a word and the default used instead:
    ; refuse rather than install where nobody asked.
    System::Call 'kernel32::GetCommandLineW() w .R0'
    ClearErrors
    ${WordFind} "$R0" " /D=" "E+1}" $R1
    ${IfNot} ${Errors}
        ${If} "$R1" != "$INSTDIR"
        ${AndIf} "$R1" != "$INSTDIR\"
            MessageBox MB_OK|MB_ICONSTOP "Setup cannot install into the folder$\r$\n$R1$\r$\nNothing has been changed." /SD IDOK
            SetErrorLevel 3
            Quit
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "Programs" SecMain
    SectionIn RO
    Push $R0
    Call CanWriteInstDir
    Pop $R0
    ${If} $R0 != 1
        MessageBox MB_OK|MB_ICONSTOP "Setup cannot write to the folder$\r$\n$INSTDIR$\r$\nNothing has been changed." /SD IDOK
        SetErrorLevel 3
        Abort "Setup cannot write to $INSTDIR; nothing was changed."
    ${EndIf}
    Pop $R0

    ; An older version may be running: end it before its files are replaced.
    Call EndSuite

    SetOutPath "$INSTDIR"
    SetOverwrite on
    File "${STAGE}\Monitor.exe"
    File "${STAGE}\Option.exe"
    File "${STAGE}\OSD.exe"
    File "${STAGE}\MouseEmulator.exe"
    File "${STAGE}\hiddriver.dll"
    File "${STAGE}\lan.dll"
    File "${STAGE}\readme.txt"
    File "${STAGE}\LICENSE.txt"
    ; Which mouse to use is the user's choice: never replace it.
    SetOverwrite off
    File "${STAGE}\hiddriver.ini"
    SetOverwrite on
    ; The artwork is the program's own: replaced whole.
    RMDir /r "$INSTDIR\skins"
    SetOutPath "$INSTDIR\skins"
    File /r "${STAGE}\skins\*.*"
    SetOutPath "$INSTDIR"

    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "${MENUDIR}"
    CreateShortcut "${MENUDIR}\${PRODUCT} settings.lnk" "$INSTDIR\Monitor.exe" "1" "$INSTDIR\Option.exe" 0 \
        SW_SHOWNORMAL "" "Open the ${PRODUCT} settings"
    CreateShortcut "${MENUDIR}\Virtual mouse.lnk" "$INSTDIR\MouseEmulator.exe" "" "$INSTDIR\MouseEmulator.exe" 0 \
        SW_SHOWNORMAL "" "Try the suite without the mouse"
    CreateShortcut "${MENUDIR}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKCU "${RUNKEY}" "${RUNVALUE}" '"$INSTDIR\Monitor.exe"'

    WriteRegStr HKCU "${APPKEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${APPKEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${APPKEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${APPKEY}" "DisplayIcon" '"$INSTDIR\Monitor.exe",0'
    WriteRegStr HKCU "${APPKEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${APPKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${APPKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${APPKEY}" "NoModify" 1
    WriteRegDWORD HKCU "${APPKEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${APPKEY}" "EstimatedSize" "$0"
SectionEnd

Function .onInstSuccess
    ; The finish page offers "Start now"; a silent install starts the
    ; monitor unless /NOSTART was given.
    ${If} ${Silent}
    ${AndIf} $NoStart != 1
        Call StartMonitor
    ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- uninstall

Function un.onInit
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/REMOVESETTINGS" $R1
    ${IfNot} ${Errors}
        StrCpy $RemoveSettings 1
    ${EndIf}
FunctionEnd

; Deletes a program of the suite. One that was still starting while the
; suite was ended (the monitor starts the display as it starts) is asked to
; end once its window is there, and its file is tried again, for up to 5 s.
!macro DELETE_PROGRAM FILE KIND
    Push $R8
    Push $R9
    StrCpy $R9 0
    ${DoWhile} ${FileExists} "$INSTDIR\${FILE}"
        Delete "$INSTDIR\${FILE}"
        ${If} $R9 >= 50
        ${OrIfNot} ${FileExists} "$INSTDIR\${FILE}"
            ${Break}
        ${EndIf}
        Push "${KIND}"
        Call un.EndWindow
        Pop $R8
        Sleep 100
        IntOp $R9 $R9 + 1
    ${Loop}
    Pop $R9
    Pop $R8
!macroend

Section "Uninstall"
    Call un.EndSuite

    ${IfNot} ${Silent}
        MessageBox MB_YESNO|MB_ICONQUESTION "Keep your profiles, macros and mouse settings?$\r$\n$\r$\nKeep them to find them again if you install ${PRODUCT} later." IDYES +2
        StrCpy $RemoveSettings 1
    ${EndIf}

    Delete "$INSTDIR\Monitor.exe"
    !insertmacro DELETE_PROGRAM "Option.exe" "option"
    !insertmacro DELETE_PROGRAM "OSD.exe" "osd"
    Delete "$INSTDIR\MouseEmulator.exe"
    Delete "$INSTDIR\hiddriver.dll"
    Delete "$INSTDIR\lan.dll"
    Delete "$INSTDIR\readme.txt"
    Delete "$INSTDIR\LICENSE.txt"
    RMDir /r "$INSTDIR\skins"
    ${If} $RemoveSettings == 1
        Delete "$INSTDIR\config.ini"
        Delete "$INSTDIR\hiddriver.ini"
        Delete "$INSTDIR\MouseEmulator.flash"
        RMDir /r "$INSTDIR\config"
    ${EndIf}
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "${MENUDIR}\${PRODUCT} settings.lnk"
    Delete "${MENUDIR}\Virtual mouse.lnk"
    Delete "${MENUDIR}\Uninstall ${PRODUCT}.lnk"
    RMDir "${MENUDIR}"
    DeleteRegValue HKCU "${RUNKEY}" "${RUNVALUE}"
    ; Last, so that whoever waits for the uninstaller can watch this key.
    DeleteRegKey HKCU "${APPKEY}"
SectionEnd
