; The Windows installer of Tolvane. Built by the project's build with
;   makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DPROGRAM=<ADSL.EXE> -DREADME=<README.md> -DOUTFILE=<setup.exe> tolvane.nsi
; It installs into the real Program Files also on 64-bit Windows, because the
; program's auto-start shortcut points at the fixed path
; C:\Program Files\adsl\ADSL.EXE.

Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!ifndef VERSION
  !error "VERSION is not defined"
!endif

!define PRODUCT "Tolvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvane"
!define MAIN_WINDOW_CLASS "TolvaneMainWindow"
!define SETTINGS_FILE "C:\windows\adsl.ini"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\adsl"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} installer"
VIAddVersionKey /LANG=0 "LegalCopyright" "Tolvane developers"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ADSL.EXE"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString CloseFirst ${LANG_SIMPCHINESE} "Tolvane 正在运行。请先关闭它，然后点击“重试”。"
LangString CloseFirst ${LANG_ENGLISH} "Tolvane is running. Close it, then choose Retry."
LangString RemoveSettings ${LANG_SIMPCHINESE} "同时删除保存的账号和密码（${SETTINGS_FILE}）吗？"
LangString RemoveSettings ${LANG_ENGLISH} "Also remove the saved account and password (${SETTINGS_FILE})?"
LangString StartMenuName ${LANG_SIMPCHINESE} "ADSL拨号"
LangString StartMenuName ${LANG_ENGLISH} "Tolvane"

; A running copy keeps ADSL.EXE locked; a silent install asks it to close.
!macro CloseRunningProgram
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${DoWhile} $0 <> 0
    ${If} ${Silent}
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=3000
      Sleep 500
    ${Else}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseFirst)" IDRETRY +2
      Abort
    ${EndIf}
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${Loop}
!macroend

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

Section "Tolvane" SecMain
  SectionIn RO
  !insertmacro CloseRunningProgram
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=ADSL.EXE" "${PROGRAM}"
  File "/oname=README.md" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\$(StartMenuName).lnk" "$INSTDIR\ADSL.EXE"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tolvane developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ADSL.EXE"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" 1024
SectionEnd

Section "Uninstall"
  !insertmacro CloseRunningProgram
  Delete "$INSTDIR\ADSL.EXE"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\$(StartMenuName).lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; The program's own auto-start shortcut, in the Startup folder of the user
  ; who saved it.
  SetShellVarContext current
  Delete "$SMSTARTUP\ADSL拨号.lnk"

  ; The settings hold the user's account and password: kept unless asked.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettings)" /SD IDNO IDNO keep_settings
    Delete "${SETTINGS_FILE}"
  keep_settings:

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
