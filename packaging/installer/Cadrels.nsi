; The per-user installer of Cadrels, built by makensis on any host.
;   makensis -DVERSION=1.2.3 -DPROGRAM=<Cadrels.exe> -DOUTFILE=<setup.exe> Cadrels.nsi
; No elevation: the program, its uninstaller, the Start-menu shortcut and the
; uninstall entry all belong to the current user. The user's arrangement in
; %LOCALAPPDATA%\Cadrels is never touched by an install or an upgrade.

!ifndef VERSION | PROGRAM | OUTFILE
  !error "VERSION, PROGRAM and OUTFILE are given by the build"
!endif

Unicode true
; A 32-bit installer does nothing under a 64-bit-only system and still exits 0.
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!define PRODUCT "Cadrels"
!define PUBLISHER "Tarvel"
; Its name is the product code that package managers match installs by.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Cadrels"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define APP_WINDOW_CLASS "Cadrels.App"
; How long a running Cadrels gets to save and quit when asked.
!define CLOSE_WAIT_MS 30000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
; An upgrade goes where the previous version is, unless /D= says otherwise.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow
AllowSkipFiles off

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING

Var VerySilent
Var ProgressOnly
Var SuppressBoxes
Var CloseApps
Var RestartApps
Var WasRunning

!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenProgressOnly
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenProgressOnly
!define MUI_FINISHPAGE_RUN "$INSTDIR\Cadrels.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; French first: the program's own default language.
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "English"

LangString AskClose ${LANG_FRENCH} "Cadrels est en cours d'exécution. Il va enregistrer votre disposition et se fermer pour être mis à jour."
LangString AskClose ${LANG_ENGLISH} "Cadrels is running. It will save your arrangement and close so that it can be updated."
LangString StillRunning ${LANG_FRENCH} "Cadrels ne s'est pas fermé. Fermez-le puis réessayez."
LangString StillRunning ${LANG_ENGLISH} "Cadrels did not close. Close it, then try again."
LangString ProgramSection ${LANG_FRENCH} "Cadrels (programme et raccourci)"
LangString ProgramSection ${LANG_ENGLISH} "Cadrels (program and shortcut)"
LangString ArrangementSection ${LANG_FRENCH} "Supprimer aussi ma disposition (cadrels, pages, instantanés)"
LangString ArrangementSection ${LANG_ENGLISH} "Also remove my arrangement (cadrels, pages, snapshots)"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_FRENCH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileDescription" "Installation de ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

; Pushes 1 when the command line holds the switch as a whole word (any case),
; else 0. NSIS's own option search matches prefixes: "/S" would be found in
; "/SUPPRESSMSGBOXES".
!macro DEFINE_HAS_SWITCH un
Function ${un}HasSwitch
  Exch $1
  Push $0
  Push $2
  Push $3
  Push $4
  ${GetParameters} $0
  StrCpy $0 " $0 "
  StrCpy $1 " $1 "
  StrLen $3 $1
  StrCpy $4 0
  ${Do}
    StrCpy $2 $0 $3 $4
    ${If} $2 == ""
      StrCpy $1 0
      ${Break}
    ${EndIf}
    ; == compares without regard to case.
    ${If} $2 == $1
      StrCpy $1 1
      ${Break}
    ${EndIf}
    IntOp $4 $4 + 1
  ${Loop}
  Pop $4
  Pop $3
  Pop $2
  Pop $0
  Exch $1
FunctionEnd
!macroend
!insertmacro DEFINE_HAS_SWITCH ""
!insertmacro DEFINE_HAS_SWITCH "un."

!macro SWITCH var name un
  Push "${name}"
  Call ${un}HasSwitch
  Pop ${var}
!macroend

; Asks a running Cadrels to save and quit the way a second instance talks to
; it, through its message-only window, and waits for its process to end.
; Never kills it. Sets $WasRunning; aborts the installation when it is still
; running at the end of the wait.
!macro DEFINE_CLOSE_CADRELS un
Function ${un}CloseCadrels
  StrCpy $WasRunning 0
  System::Call 'user32::FindWindowExW(p -3, p 0, w "${APP_WINDOW_CLASS}", p 0) p .r1'
  ${If} $1 == 0
    Return
  ${EndIf}
  StrCpy $WasRunning 1
  ${IfNot} ${Silent}
  ${AndIf} $CloseApps != 1
  ${AndIf} $SuppressBoxes != 1
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "$(AskClose)" /SD IDOK IDOK +2
    Abort
  ${EndIf}
  DetailPrint "Cadrels: close requested"
  System::Call 'user32::GetWindowThreadProcessId(p r1, *i 0 r2) i'
  ; SYNCHRONIZE: enough to wait for the end.
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3'
  System::Call 'user32::PostMessageW(p r1, i 0x0010, p 0, p 0) i'
  ${If} $3 != 0
    System::Call 'kernel32::WaitForSingleObject(p r3, i ${CLOSE_WAIT_MS}) i .r4'
    System::Call 'kernel32::CloseHandle(p r3)'
    ${If} $4 == 0
      Return
    ${EndIf}
  ${Else}
    ; Without a handle to the process, its window going is the sign.
    StrCpy $4 0
    ${Do}
      Sleep 250
      System::Call 'user32::IsWindow(p r1) i .r5'
      ${If} $5 == 0
        ; The window goes shortly before the process ends.
        Sleep 1000
        Return
      ${EndIf}
      IntOp $4 $4 + 250
    ${LoopUntil} $4 >= ${CLOSE_WAIT_MS}
  ${EndIf}
  ${If} $SuppressBoxes == 1
    SetErrors
  ${Else}
    MessageBox MB_OK|MB_ICONSTOP "$(StillRunning)" /SD IDOK
  ${EndIf}
  SetErrorLevel 3
  Quit
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_CADRELS ""
!insertmacro DEFINE_CLOSE_CADRELS "un."

Function .onInit
  !insertmacro SWITCH $VerySilent "/VERYSILENT" ""
  !insertmacro SWITCH $ProgressOnly "/SILENT" ""
  !insertmacro SWITCH $SuppressBoxes "/SUPPRESSMSGBOXES" ""
  !insertmacro SWITCH $CloseApps "/CLOSEAPPLICATIONS" ""
  !insertmacro SWITCH $RestartApps "/RESTARTAPPLICATIONS" ""
  ; /NORESTART is accepted: nothing here ever restarts Windows.
  ; /S is NSIS's own and already applied.
  ${If} $VerySilent == 1
    SetSilent silent
  ${EndIf}
  ${If} ${Silent}
    StrCpy $ProgressOnly 0
  ${EndIf}
  ${If} $ProgressOnly == 1
    SetAutoClose true
  ${EndIf}
  ${If} $INSTDIR == ""
    ; The user's program-files known folder, where the system has one.
    System::Call 'shell32::SHGetKnownFolderPath(g "{5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}", i 0x8000, p 0, *p .r1) i .r0'
    ${If} $0 == 0
      System::Call '*$1(&w${NSIS_MAX_STRLEN} .r2)'
      System::Call 'ole32::CoTaskMemFree(p r1)'
      StrCpy $INSTDIR "$2\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function SkipWhenProgressOnly
  ${If} $ProgressOnly == 1
    Abort
  ${EndIf}
FunctionEnd

Section "$(ProgramSection)" SectionProgram
  SectionIn RO
  Call CloseCadrels
  SetOutPath "$INSTDIR"
  File "/oname=Cadrels.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Cadrels.exe" "" "$INSTDIR\Cadrels.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Cadrels.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function .onInstSuccess
  ${If} $RestartApps == 1
  ${AndIf} $WasRunning == 1
    Exec '"$INSTDIR\Cadrels.exe"'
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro SWITCH $SuppressBoxes "/SUPPRESSMSGBOXES" "un."
  !insertmacro SWITCH $VerySilent "/VERYSILENT" "un."
  ${If} $VerySilent == 1
    SetSilent silent
  ${EndIf}
  StrCpy $CloseApps 0
FunctionEnd

Section "un.$(ProgramSection)" SectionUninstallProgram
  SectionIn RO
  Call un.CloseCadrels
  Delete "$INSTDIR\Cadrels.exe"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: anything else there is not ours.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; What the program writes for itself: the shell verbs and the Run value.
  DeleteRegKey HKCU "Software\Classes\DesktopBackground\Shell\Cadrels"
  DeleteRegKey HKCU "Software\Classes\DesktopBackground\Shell\CadrelsSearch"
  DeleteRegKey HKCU "Software\Classes\*\shell\CadrelsSendTo"
  DeleteRegKey HKCU "Software\Classes\Directory\shell\CadrelsSendTo"
  DeleteRegValue HKCU "${RUN_KEY}" "Cadrels"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Unticked by default and never run by a silent uninstall. The container
; folders under the user's profile hold the user's own files and stay.
Section /o "un.$(ArrangementSection)" SectionUninstallArrangement
  RMDir /r "$LOCALAPPDATA\Cadrels"
SectionEnd
