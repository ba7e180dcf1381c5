; TiKoDan's setup: one Chinese setup for 64- and 32-bit Windows, built by makensis from src/installer/CMakeLists.txt.
;
; makensis is given (all -D): TKD_VERSION (1.0.0), TKD_VERSION_QUAD (1.0.0.0), TKD_EXE64 and
; TKD_EXE32 (the two TiKoDan.exe builds), TKD_SOUND_DIR (the WAV files), TKD_ICON, TKD_OUTFILE.
; The file is UTF-8: makensis reads it with -INPUTCHARSET UTF8.
;
; Command line: /S silent; /D=FOLDER the install folder (last, unquoted); /RUN starts the program
; after a silent install (the finish page's box does so otherwise).

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "TiKoDan"
!define PUBLISHER "BrisoLaken"
!define EXE "TiKoDan.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TiKoDan"
; The program's keys (src/settings/settings_store.h). Its machine-wide values live in the 32-bit
; view of HKLM; a standard user's copy is the same path under HKCU.
!define SETTINGS_KEY "SOFTWARE\BrisoLaken\TiKoDan"
!define VENDOR_KEY "SOFTWARE\BrisoLaken"
!define USAGE_COPY_KEY "software\microsoft\com3"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "tikodan"
; A running copy holds this mutex of its session and shows a main window of this class.
!define MUTEX "Local\BrisoLaken.TiKoDan"
!define WINDOW_CLASS "TiKoDanForm1"
!define SYNCHRONIZE 0x00100000
; A copy reads its close request every second; 60 looks 250 ms apart give it 15 s to end. A file
; it held may stay locked a moment after it has gone: 20 tries, 5 s.
!define END_POLLS 60
!define FILE_TRIES 20

Name "${PRODUCT}"
OutFile "${TKD_OUTFILE}"
BrandingText "${PUBLISHER}"
; No InstallDir: .onInit picks the folder unless /D= gave one.

VIProductVersion "${TKD_VERSION_QUAD}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 计时工具 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${TKD_VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${TKD_VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

Var StartWhenSilent  ; 1 when /RUN was given

!define MUI_ICON "${TKD_ICON}"
!define MUI_UNICON "${TKD_ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "运行 ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Apps & features lists 64-bit programs in the 64-bit view.
!macro NativeRegView
  ${If} ${RunningX64}
    SetRegView 64
  ${Else}
    SetRegView 32
  ${EndIf}
!macroend

; The functions both the setup and the uninstaller need (the uninstaller's carry "un.").
!macro SharedFunctions un
; Refuses to go on without administrator rights: the program goes into Program Files and its
; settings into HKLM.
Function ${un}RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "安装或卸载 ${PRODUCT} 需要管理员权限。" /SD IDOK
    SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
FunctionEnd

; $R0 = 1 while a copy runs in this session: it holds the mutex, or its window is there.
Function ${un}CopyRunning
  StrCpy $R0 0
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${MUTEX}") p.R1'
  ${If} $R1 <> 0
    System::Call 'kernel32::CloseHandle(p R1)'
    StrCpy $R0 1
  ${EndIf}
  FindWindow $R1 "${WINDOW_CLASS}"
  ${If} $R1 <> 0
    StrCpy $R0 1
  ${EndIf}
FunctionEnd

; Ends a running copy through its own close request ("isClose" = 1, read every second) and waits
; until it has gone, so that its settings and usage total are stored and its files are free.
; The request is set back to 0 afterwards (the program would also forget it at its next start),
; so that no copy started meanwhile by another user ends at once.
Function ${un}EndRunningCopy
  Call ${un}CopyRunning
  ${If} $R0 == 0
    Return
  ${EndIf}
  DetailPrint "正在结束运行中的 ${PRODUCT}..."
  SetRegView 32
  WriteRegStr HKLM "${SETTINGS_KEY}" "isClose" "1"
  ; A standard user's copy reads its own key first (a key the program wrote holds values).
  StrCpy $R3 0
  ClearErrors
  EnumRegValue $R1 HKCU "${SETTINGS_KEY}" 0
  ${IfNot} ${Errors}
    StrCpy $R3 1
    WriteRegStr HKCU "${SETTINGS_KEY}" "isClose" "1"
  ${EndIf}
  wait:
  StrCpy $R2 0
  ${Do}
    Sleep 250
    Call ${un}CopyRunning
    IntOp $R2 $R2 + 1
    ${If} $R0 == 0
      ${ExitDo}
    ${EndIf}
  ${LoopUntil} $R2 >= ${END_POLLS}
  ${If} $R0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} 仍在运行，无法结束它。$\r$\n请先退出 ${PRODUCT}，然后点“重试”。" /SD IDCANCEL IDRETRY wait
    WriteRegStr HKLM "${SETTINGS_KEY}" "isClose" "0"
    Abort "${PRODUCT} 仍在运行。"
  ${EndIf}
  WriteRegStr HKLM "${SETTINGS_KEY}" "isClose" "0"
  ${If} $R3 == 1
    WriteRegStr HKCU "${SETTINGS_KEY}" "isClose" "0"
  ${EndIf}
FunctionEnd

; Deletes the file $R0, retrying while the copy that has just ended still holds it.
Function ${un}RemoveLocked
  retry:
  StrCpy $R2 0
  ${DoWhile} ${FileExists} $R0
    ClearErrors
    Delete $R0
    ${IfNot} ${Errors}
      Return
    ${EndIf}
    IntOp $R2 $R2 + 1
    ${If} $R2 >= ${FILE_TRIES}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "无法替换或删除 $R0：文件正在使用中。" /SD IDCANCEL IDRETRY retry
      Abort "无法替换或删除 $R0。"
    ${EndIf}
    Sleep 250
  ${Loop}
FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

Section "!${PRODUCT}（必需）" SecProgram
  SectionIn RO
  Call EndRunningCopy

  SetOutPath "$INSTDIR"
  StrCpy $R0 "$INSTDIR\${EXE}"
  Call RemoveLocked
  ${If} ${RunningX64}
    File "/oname=${EXE}" "${TKD_EXE64}"
  ${Else}
    File "/oname=${EXE}" "${TKD_EXE32}"
  ${EndIf}

  SetOutPath "$INSTDIR\sound"
  FindFirst $R4 $R5 "$INSTDIR\sound\*.wav"
  ${DoWhile} $R5 != ""
    StrCpy $R0 "$INSTDIR\sound\$R5"
    Call RemoveLocked
    FindNext $R4 $R5
  ${Loop}
  FindClose $R4
  File "${TKD_SOUND_DIR}/*.wav"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "${PRODUCT} 计时工具"
SectionEnd

Section "桌面快捷方式" SecDesktop
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "${PRODUCT} 计时工具"
SectionEnd

; Last, so that the size it records counts every file.
Section "-Register"
  ${IfNot} ${SectionIsSelected} ${SecDesktop}
    Delete "$DESKTOP\${PRODUCT}.lnk"
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  !insertmacro NativeRegView
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${TKD_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function .onInit
  Call RequireAdmin
  SetShellVarContext all
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RUN" $1
  ${IfNot} ${Errors}
    StrCpy $StartWhenSilent 1
  ${EndIf}
  ; An upgrade goes where the last install went; a first install into the native Program Files.
  !insertmacro NativeRegView
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $INSTDIR == ""
    ${If} $1 != ""
      StrCpy $INSTDIR $1
    ${ElseIf} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
    ${EndIf}
  ${EndIf}
  ; An upgrade of an install without the desktop shortcut does not bring it back unasked.
  ${If} $1 != ""
  ${AndIfNot} ${FileExists} "$DESKTOP\${PRODUCT}.lnk"
    !insertmacro UnselectSection ${SecDesktop}
  ${EndIf}
FunctionEnd

; Starts the installed program, from its folder (where it finds its sounds).
Function StartProgram
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\${EXE}"'
FunctionEnd

Function .onInstSuccess
  ${If} ${Silent}
  ${AndIf} $StartWhenSilent == 1
    Call StartProgram
  ${EndIf}
FunctionEnd

Function un.onInit
  Call un.RequireAdmin
  SetShellVarContext all
FunctionEnd

; Removes the start-with-Windows entry under ROOT when it points at this installation (the
; program writes the quoted path, older versions wrote it bare) or is the empty text the program
; leaves when that option is off. Another installation's entry stays.
!macro ForgetRunEntry ROOT
  ReadRegStr $R1 ${ROOT} "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $R1 == '"$INSTDIR\${EXE}"'
  ${OrIf} $R1 == "$INSTDIR\${EXE}"
  ${OrIf} $R1 == ""
    DeleteRegValue ${ROOT} "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
!macroend

Section "Uninstall"
  Call un.EndRunningCopy

  StrCpy $R0 "$INSTDIR\${EXE}"
  Call un.RemoveLocked
  Delete "$INSTDIR\sound\*.wav"
  RMDir "$INSTDIR\sound"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"

  ; "Software\Microsoft" is redirected: HKLM has a Run key in each view.
  SetRegView 32
  !insertmacro ForgetRunEntry HKLM
  ${If} ${RunningX64}
    SetRegView 64
    !insertmacro ForgetRunEntry HKLM
  ${EndIf}
  !insertmacro ForgetRunEntry HKCU
  !insertmacro NativeRegView
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; Settings and totals stay unless the user says otherwise: a later install carries on with them.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON1 "是否保留 ${PRODUCT} 的设置和使用统计？$\r$\n$\r$\n选“是”保留，以后重新安装时继续使用；选“否”全部删除。" /SD IDYES IDYES keep
  ; "Software\Brisolaken\tikodan", the installation record's spelling, is the same key. The
  ; vendor key and the copy's key go too once nothing else is in them (/ifempty: no values, no subkeys).
  SetRegView 32
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
  DeleteRegValue HKLM "${USAGE_COPY_KEY}" "js00"
  DeleteRegKey /ifempty HKLM "${USAGE_COPY_KEY}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${VENDOR_KEY}"
  DeleteRegValue HKCU "${USAGE_COPY_KEY}" "js00"
  DeleteRegKey /ifempty HKCU "${USAGE_COPY_KEY}"
  keep:
SectionEnd
