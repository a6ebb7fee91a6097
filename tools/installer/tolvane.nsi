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
!include "FileFunc.nsh"

!ifndef VERSION
  !error "VERSION is not defined"
!endif

!define PRODUCT "Tolvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvane"
!define MAIN_WINDOW_CLASS "TolvaneMainWindow"
!define SETTINGS_FILE "C:\windows\adsl.ini"
; Where Windows puts a non-elevated user's writes to that file: the program
; has no manifest, so its writes to C:\windows are virtualised.
!define VIRTUAL_SETTINGS "VirtualStore\Windows\adsl.ini"
!define STARTUP_LINK "ADSL拨号.lnk"
; The Start-menu shortcut's name in each of the installer's languages; the
; uninstaller may run in another language than the installer did.
!define START_MENU_NAME_ZH "ADSL拨号"
!define START_MENU_NAME_EN "Tolvane"
!define CSIDL_STARTUP 0x7
!define CSIDL_LOCAL_APPDATA 0x1C

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
; No "run now" box: the installer runs elevated, and a program it started
; would run with its token, outside the user's virtualised settings and
; Startup folder. The user starts it from the Start menu.
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString CloseFirst ${LANG_SIMPCHINESE} "Tolvane 正在运行。请先关闭它，然后点击“重试”。"
LangString CloseFirst ${LANG_ENGLISH} "Tolvane is running. Close it, then choose Retry."
LangString RemoveSettings ${LANG_SIMPCHINESE} "同时删除保存的账号和密码吗？$\r$\n$\r$\n将删除 ${SETTINGS_FILE} 和你的副本（%LOCALAPPDATA%\${VIRTUAL_SETTINGS}）。其他用户保存的副本会保留。"
LangString RemoveSettings ${LANG_ENGLISH} "Also remove the saved account and password?$\r$\n$\r$\nThis removes ${SETTINGS_FILE} and your copy (%LOCALAPPDATA%\${VIRTUAL_SETTINGS}). Copies saved by other users stay."
LangString StartMenuName ${LANG_SIMPCHINESE} "${START_MENU_NAME_ZH}"
LangString StartMenuName ${LANG_ENGLISH} "${START_MENU_NAME_EN}"
LangString FinishText ${LANG_SIMPCHINESE} "${PRODUCT} 已安装。请从“开始”菜单的 ${PRODUCT} 文件夹启动 ${START_MENU_NAME_ZH}。"
LangString FinishText ${LANG_ENGLISH} "${PRODUCT} is installed. Start it from the ${PRODUCT} folder of the Start menu."

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

; A folder of the user whose desktop runs the shell, into $R0 ("" when it
; cannot be had). An administrator who elevated a standard user's uninstall
; runs as another account; the shell's token names the user at the desk.
!macro ShellUserFolder CSIDL
  StrCpy $R0 ""
  ; Another account's process opens only with the debug privilege.
  System::Call 'kernel32::GetCurrentProcess() p .r7'
  System::Call 'advapi32::OpenProcessToken(p r7, i 0x28, *p .r8) i .r9'
  ${If} $9 <> 0
    System::Call 'advapi32::LookupPrivilegeValueW(p 0, w "SeDebugPrivilege", *l .r6) i .r9'
    ${If} $9 <> 0
      ; TOKEN_PRIVILEGES: one privilege, SE_PRIVILEGE_ENABLED
      System::Call '*(i 1, l r6, i 2) p .r5'
      System::Call 'advapi32::AdjustTokenPrivileges(p r8, i 0, p r5, i 0, p 0, p 0)'
      System::Free $5
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r8)'
  ${EndIf}
  System::Call 'user32::GetShellWindow() p .r1'
  ${If} $1 P<> 0
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    ; PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r2) p .r3'
    ${If} $3 P<> 0
      ; TOKEN_QUERY | TOKEN_IMPERSONATE, as SHGetFolderPath wants it
      System::Call 'advapi32::OpenProcessToken(p r3, i 0xC, *p .r4) i .r9'
      ${If} $9 <> 0
        System::Call 'shell32::SHGetFolderPathW(p 0, i ${CSIDL}, p r4, i 0, w .r5) i .r9'
        ${If} $9 == 0
          StrCpy $R0 $5
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r4)'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r3)'
    ${EndIf}
  ${EndIf}
!macroend

Section "Uninstall"
  !insertmacro CloseRunningProgram
  Delete "$INSTDIR\ADSL.EXE"
  Delete "$INSTDIR\README.md"
  ; This runs from a copy of the uninstaller, started by uninstall.exe just
  ; before it ended; a silent uninstall gets here at once, and the ending
  ; process (or a program closed just now) can keep its file or the folder in
  ; use for a moment.
  StrCpy $0 0
  ${Do}
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ${IfNot} ${FileExists} "$INSTDIR"
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    ${If} $0 >= 50
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${START_MENU_NAME_ZH}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${START_MENU_NAME_EN}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; The program's own auto-start shortcut, in the Startup folder of the user
  ; who saved it: the account the uninstaller runs as, and the user at the
  ; desk when that is another one.
  SetShellVarContext current
  Delete "$SMSTARTUP\${STARTUP_LINK}"
  !insertmacro ShellUserFolder ${CSIDL_STARTUP}
  ${If} $R0 != ""
    Delete "$R0\${STARTUP_LINK}"
  ${EndIf}

  ; The settings hold the user's account and password: kept unless asked.
  ; /REMOVESETTINGS answers yes, also in a silent uninstall.
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    Goto remove_settings
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettings)" /SD IDNO IDNO keep_settings
  remove_settings:
    Delete "${SETTINGS_FILE}"
    ; The copies Windows made of it for the user, as above.
    Delete "$LOCALAPPDATA\${VIRTUAL_SETTINGS}"
    !insertmacro ShellUserFolder ${CSIDL_LOCAL_APPDATA}
    ${If} $R0 != ""
      Delete "$R0\${VIRTUAL_SETTINGS}"
    ${EndIf}
  keep_settings:

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
