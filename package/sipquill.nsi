; The Sipquill installer: a per-user install without administrator rights.
;
; Built by tools/package.sh with
;   makensis -INPUTCHARSET UTF8 -DARCH=32|64 -DVERSION=... -DSTAGE=<folder>
;            -DFILES=<files.nsh> -DUNFILES=<unfiles.nsh> -DOUTFILE=<setup.exe>
; STAGE holds the program folder as it is installed; FILES and UNFILES are
; the File and Delete lines of its program files, generated from STAGE (the
; user's data files below are not among them).
;
; Command line (besides NSIS's own /S and /D=folder):
;   /AUTOSTART, /NOAUTOSTART   start the program at log-on, or not (an upgrade
;                              keeps what was chosen before)
; Uninstaller: /S, and /PURGE to remove the user's settings and history too.
;
; Exit codes: 0 installed; 1 cancelled by the user; 2 not installed (a copy
; of the program still runs, its files are in use, or the folder's name
; cannot be used); nothing is written in the last two cases.
;
; The program keeps its settings and history in its current folder, so it
; is installed into a folder the user can write to, and every shortcut's
; working directory is that folder.

Unicode true
!if ${ARCH} == 64
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Sipquill"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define APP_KEY "Software\${PRODUCT}"
!define VERB_KEY "*\shell\轻松打开"
; The longest install folder: the program opens its pages as "file://" +
; folder + "\ehelp\easyhelp.htm" in a buffer of 179 characters.
!define MAX_DIR 150

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\${PRODUCT}"
InstallDirRegKey HKCU "${APP_KEY}" "InstallDir"
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION} (${ARCH}-bit)"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgram
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNow)"
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString SecProgram ${LANG_SIMPCHINESE} "Sipquill 程序"
LangString SecProgram ${LANG_ENGLISH} "Sipquill program"
LangString SecAutostart ${LANG_SIMPCHINESE} "开机自动启动"
LangString SecAutostart ${LANG_ENGLISH} "Start at log-on"
LangString SecPurge ${LANG_SIMPCHINESE} "同时删除我的设置和历史（wr.ini、url.txt、his.txt 等）"
LangString SecPurge ${LANG_ENGLISH} "Also remove my settings and history (wr.ini, url.txt, his.txt, ...)"
LangString RunNow ${LANG_SIMPCHINESE} "现在运行 Sipquill"
LangString RunNow ${LANG_ENGLISH} "Run Sipquill now"
LangString Running ${LANG_SIMPCHINESE} "Sipquill 正在运行。$\n$\n“是”：由安装程序关闭它，然后继续。$\n“否”：请您从托盘菜单选“关闭”退出它，再点“重试”。$\n“取消”：不做任何改动，退出。"
LangString Running ${LANG_ENGLISH} "Sipquill is running.$\n$\nYes: close it and go on.$\nNo: quit it yourself (tray menu, 关闭), then choose Retry.$\nCancel: change nothing and stop."
LangString StillRunning ${LANG_SIMPCHINESE} "Sipquill 仍在运行或其文件正被使用：$\n$0$\n$\n退出它后点“重试”，或点“取消”不做任何改动。"
LangString StillRunning ${LANG_ENGLISH} "Sipquill still runs or its files are in use:$\n$0$\n$\nQuit it and choose Retry, or Cancel to change nothing."
LangString NotChanged ${LANG_SIMPCHINESE} "Sipquill 仍在运行，没有做任何改动。"
LangString NotChanged ${LANG_ENGLISH} "Sipquill still runs; nothing was changed."
LangString DirTooLong ${LANG_SIMPCHINESE} "安装文件夹的路径太长（最多 ${MAX_DIR} 个字符）。"
LangString DirTooLong ${LANG_ENGLISH} "The install folder's path is too long (at most ${MAX_DIR} characters)."
LangString DirCodePage ${LANG_SIMPCHINESE} "安装文件夹的名字含有本机代码页不能表示的字符，程序在那里无法打开自己的文件。请换一个文件夹。"
LangString DirCodePage ${LANG_ENGLISH} "The install folder's name holds characters that the system's code page cannot represent; the program could not open its files there. Choose another folder."

; ---------------------------------------------------------------- helpers

; Closes every running copy of the program the orderly way (WM_CLOSE to the
; main form of the process that owns an input window) and waits for it.
; Sets $0 to "" when none runs any more and no program file in $INSTDIR is
; in use, otherwise to what is still in the way.
!macro DEFINE_HELPERS UN
Function ${UN}CloseCopies
  StrCpy $3 0
  ${Do}
    FindWindow $1 "Tqirinputor"
    ${If} $1 == 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    StrCpy $4 0
    ${Do}
      FindWindow $4 "TFormMain" "" 0 $4
      ${If} $4 == 0
        ${Break}
      ${EndIf}
      System::Call 'user32::GetWindowThreadProcessId(p r4, *i .r5)'
      ${If} $5 == $2
        System::Call 'user32::PostMessage(p r4, i ${WM_CLOSE}, p 0, p 0)'
      ${EndIf}
    ${Loop}
    Sleep 200
    IntOp $3 $3 + 1
    ${If} $3 > 75
      ${Break}
    ${EndIf}
  ${Loop}
FunctionEnd

Function ${UN}CheckInUse
  StrCpy $0 ""
  FindWindow $1 "Tqirinputor"
  ${If} $1 != 0
    StrCpy $0 "Sipquill.exe"
    Return
  ${EndIf}
  ${ForEach} $2 1 2 + 1
    ${If} $2 == 1
      StrCpy $3 "$INSTDIR\Sipquill.exe"
    ${Else}
      StrCpy $3 "$INSTDIR\dovahk1.dll"
    ${EndIf}
    ${If} ${FileExists} $3
      ClearErrors
      FileOpen $4 $3 a
      ${If} ${Errors}
        StrCpy $0 $3
        Return
      ${EndIf}
      FileClose $4
    ${EndIf}
  ${Next}
FunctionEnd

; Nothing is written until no copy runs: a silent run closes the running
; copies itself and gives up (exit code 2) when one does not end; an
; interactive one asks. A process may hold its files for a moment after its
; windows are gone, hence the wait before giving up.
Function ${UN}MakeWayForFiles
  FindWindow $1 "Tqirinputor"
  StrCmp $1 0 check
  MessageBox MB_YESNOCANCEL|MB_ICONEXCLAMATION "$(Running)" /SD IDYES IDYES close IDNO ask
  SetErrorLevel 1
  Quit
close:
  Call ${UN}CloseCopies
check:
  StrCpy $6 0
wait:
  Call ${UN}CheckInUse
  StrCmp $0 "" done
  IntCmp $6 50 given_up 0 given_up
  Sleep 200
  IntOp $6 $6 + 1
  Goto wait
given_up:
  IfSilent 0 ask
  SetErrorLevel 2
  Quit
ask:
  Call ${UN}CheckInUse
  StrCmp $0 "" done
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" IDRETRY check
  SetErrorLevel 1
  Quit
done:
FunctionEnd
!macroend
!insertmacro DEFINE_HELPERS ""
!insertmacro DEFINE_HELPERS "un."

; $0 = "" when $INSTDIR can hold the program, otherwise why not.
Function CheckDir
  StrCpy $0 ""
  StrLen $1 $INSTDIR
  ${If} $1 > ${MAX_DIR}
    StrCpy $0 "$(DirTooLong)"
    Return
  ${EndIf}
  ; The program names its files in the ANSI code page: the folder's name
  ; has to survive the conversion (no default character used).
  System::Call 'kernel32::WideCharToMultiByte(i 0, i 0x400, w "$INSTDIR", i -1, m .r2, i ${NSIS_MAX_STRLEN}, p 0, *i 0 r3) i .r1'
  ${If} $1 == 0
  ${OrIf} $3 != 0
    StrCpy $0 "$(DirCodePage)"
  ${EndIf}
FunctionEnd

Function .onVerifyInstDir
  Call CheckDir
  ${If} $0 != ""
    Abort
  ${EndIf}
FunctionEnd

Function RunProgram
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\Sipquill.exe"'
FunctionEnd

; ---------------------------------------------------------------- install

Section "-Prepare"
  Call CheckDir
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Call MakeWayForFiles
SectionEnd

Section "$(SecProgram)" SecProgram
  SectionIn RO
  ; A folder holding the shared settings list is an earlier install: its
  ; user's choices (the marker files included) stay as they are.
  StrCpy $9 "new"
  ${If} ${FileExists} "$INSTDIR\发行软件.txt"
    StrCpy $9 "upgrade"
  ${EndIf}
  SetOverwrite on
  !include "${FILES}"
  SetOutPath "$INSTDIR"
  ; The user's settings: installed only where they are missing.
  SetOverwrite off
  File "${STAGE}/wr.ini"
  File "${STAGE}/发行软件.txt"
  ${If} $9 == "new"
    File "${STAGE}/disphelp"
  ${EndIf}
  SetOverwrite on

  WriteUninstaller "$INSTDIR\uninst.exe"
  WriteRegStr HKCU "${APP_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Sipquill"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Sipquill"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Sipquill.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0

  ; The working directory of a shortcut is the output folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Sipquill.lnk" "$INSTDIR\Sipquill.exe" "" "$INSTDIR\Sipquill.exe" 0 SW_SHOWNORMAL "" "Sipmate，输入惊喜"
SectionEnd

Section /o "$(SecAutostart)" SecAutostart
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMSTARTUP\Sipquill.lnk" "$INSTDIR\Sipquill.exe" "" "$INSTDIR\Sipquill.exe" 0 SW_SHOWNORMAL "" "Sipmate，输入惊喜"
SectionEnd

Section "-Autostart off"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    Delete "$SMSTARTUP\Sipquill.lnk"
  ${EndIf}
SectionEnd

Function .onInit
  ; An upgrade keeps the autostart choice; the command line overrides it.
  ${If} ${FileExists} "$SMSTARTUP\Sipquill.lnk"
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/NOAUTOSTART" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- uninstall

Section "-un.Prepare"
  Call un.MakeWayForFiles
SectionEnd

; The shortcuts the program writes itself on the user's request ("加入到桌面
; 和开始菜单") go with it when they point at this folder's program; one
; that points at another copy stays.
Function un.DeleteOwnLink
  Exch $0
  Push $1
  Push $2
  Push $3
  ${If} ${FileExists} $0
    StrCpy $3 ""
    System::Call 'ole32::CoCreateInstance(g "{00021401-0000-0000-C000-000000000046}", p 0, i 1, g "{000214F9-0000-0000-C000-000000000046}", *p .r1) i .r2'
    ${If} $2 == 0
      System::Call '$1->0(g "{0000010B-0000-0000-C000-000000000046}", *p .r2) i .r3'
      ${If} $3 == 0
        System::Call '$2->5(w r0, i 0) i .r3'
        ${If} $3 == 0
          System::Call '$1->3(w .r3, i ${NSIS_MAX_STRLEN}, p 0, i 4)'
        ${Else}
          StrCpy $3 ""
        ${EndIf}
        System::Call '$2->2()'
      ${Else}
        StrCpy $3 ""
      ${EndIf}
      System::Call '$1->2()'
    ${EndIf}
    ${If} $3 == "$INSTDIR\Sipquill.exe"
      Delete $0
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Section "un.$(SecProgram)" UnSecProgram
  SectionIn RO
  !include "${UNFILES}"
  Delete "$INSTDIR\uninst.exe"
  Delete "$SMPROGRAMS\Sipquill.lnk"
  Delete "$SMSTARTUP\Sipquill.lnk"
  Push "$DESKTOP\Sipquill.lnk"
  Call un.DeleteOwnLink
  Push "$STARTMENU\Sipquill.lnk"
  Call un.DeleteOwnLink
  DeleteRegKey HKCU "${UNINST_KEY}"
  DeleteRegKey HKCU "${APP_KEY}"
  ; The easy-open verb, left behind by a copy that did not end the orderly
  ; way: the program writes it through HKEY_CLASSES_ROOT, which lands in the
  ; machine's or the user's classes.
  DeleteRegKey HKCR "${VERB_KEY}"
  DeleteRegKey HKCU "Software\Classes\${VERB_KEY}"
SectionEnd

Section /o "un.$(SecPurge)" UnSecPurge
  Delete "$INSTDIR\wr.ini"
  Delete "$INSTDIR\发行软件.txt"
  Delete "$INSTDIR\disphelp"
  Delete "$INSTDIR\dispweb"
  Delete "$INSTDIR\url.txt"
  Delete "$INSTDIR\his.txt"
  Delete "$INSTDIR\qirnewurl.txt"
SectionEnd

Section "-un.Folders"
  ; Only empty folders go: whatever the user put there stays.
  RMDir "$INSTDIR\ehelp"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PURGE" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecPurge}
  ${EndIf}
FunctionEnd
