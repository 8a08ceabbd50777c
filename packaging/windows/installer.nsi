; The Windows installer (安装版). cmake/windows_installer.cmake makes it from the installed
; build with makensis; it hands over:
;   VERSION   the project's version (CMake's PROJECT_VERSION)
;   RECORD_VERSION  the same in the four numbers of Windows' version record
;   PAYLOAD   the installed folder: the program, its DLLs, 样板\锯材账单.xls, 使用说明.txt
;   FILES     an include listing the payload's files and folders for the uninstaller
;   ICON      the program's icon
;   OUTFILE   where the installer goes
;
; The clerk's workbook is the program's only data and lives beside the program, so it is
; installed from the sample only where none exists, an upgrade never touches it, and the
; uninstaller removes exactly the files the installer brought.

; A 64-bit installer for the 64-bit program: it also runs under a 64-bit-only wine.
Target amd64-unicode
Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "锯材码单"
!define WORKBOOK "锯材账单.xls"
!define SAMPLE_FOLDER "样板"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Verdalon"

Name "${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; For the current user alone: no administrator's password, and the folder stays writable,
; which the workbook beside the program needs on every export.
RequestExecutionLevel user
; Under the user's own folder (C:\Users\<name>\锯材码单): visible in Explorer, unlike
; AppData, so the clerk finds the workbook to edit it in Excel or WPS; not redirected to
; OneDrive, unlike Documents and the desktop; and writable, unlike Program Files.
InstallDir "$PROFILE\${PRODUCT}"
; An upgrade goes where the first installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${RECORD_VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "Verdalon"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Verdalon"

; What the uninstaller's last page says about the workbook it left.
Var KeptWorkbook

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(InstalledText)"
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_RUN "$INSTDIR\verdalon.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunText)"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\使用说明.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(ReadmeText)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(UninstallKeepsText)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(UninstalledText)$\r$\n$\r$\n$KeptWorkbook"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "SimpChinese"

LangString WelcomeText ${LANG_SIMPCHINESE} "这个向导将把${PRODUCT} ${VERSION} 安装到您的电脑上。$\r$\n$\r$\n如果已经装有旧版本，只替换程序文件：您的工作簿“${WORKBOOK}”保持不变。$\r$\n$\r$\n请先关闭正在运行的${PRODUCT}，然后点击 [下一步(N)] 继续。"
LangString InstalledText ${LANG_SIMPCHINESE} "${PRODUCT} ${VERSION} 已安装到：$\r$\n$INSTDIR$\r$\n$\r$\n工作簿“${WORKBOOK}”就在这个文件夹中，可以用 Excel 或 WPS 修改其中的购货单位和销货单位。以后安装新版本时，它保持不变。"
LangString RunText ${LANG_SIMPCHINESE} "运行${PRODUCT}"
LangString ReadmeText ${LANG_SIMPCHINESE} "查看使用说明"
LangString RunningText ${LANG_SIMPCHINESE} "${PRODUCT}正在运行。请先点它的“退出”按钮关闭它，再点“重试”。"
LangString UninstallKeepsText ${LANG_SIMPCHINESE} "将从下面的文件夹中删除${PRODUCT}的程序文件和快捷方式。$\r$\n您的工作簿“${WORKBOOK}”不会删除，仍留在这个文件夹中。"
LangString UninstalledText ${LANG_SIMPCHINESE} "${PRODUCT}已经从本机卸载。"
LangString KeptText ${LANG_SIMPCHINESE} "您的工作簿没有删除，仍在：$INSTDIR\${WORKBOOK}"

; A running copy holds verdalon.exe open: it cannot be replaced or removed until it ends.
!macro WaitForTheProgramToEnd
  ${Do}
    ClearErrors
    ${IfNot} ${FileExists} "$INSTDIR\verdalon.exe"
      ${Break}
    ${EndIf}
    FileOpen $0 "$INSTDIR\verdalon.exe" a
    ${IfNot} ${Errors}
      FileClose $0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(RunningText)" /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

Section
  !insertmacro WaitForTheProgramToEnd
  SetOutPath "$INSTDIR"
  File /r "${PAYLOAD}\*"
  ; The workbook from the sample, only where there is none: never over the clerk's own.
  SetOverwrite off
  File "/oname=${WORKBOOK}" "${PAYLOAD}\${SAMPLE_FOLDER}\${WORKBOOK}"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\verdalon.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\verdalon.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\verdalon.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Verdalon"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  !insertmacro WaitForTheProgramToEnd
  ; Exactly what the installer brought (its payload), never the folder as a whole: the
  ; workbook, its backups and anything the clerk put there stay.
  !include "${FILES}"
  Delete "$INSTDIR\${UNINSTALLER}"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; Gone only when nothing of the clerk's is left in it.
  RMDir "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\${WORKBOOK}"
    StrCpy $KeptWorkbook "$(KeptText)"
    DetailPrint "$KeptWorkbook"
  ${EndIf}
SectionEnd
