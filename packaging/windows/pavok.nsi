; The Windows installer of Pavok, made by scripts/windows-package.sh with
; makensis. It installs pavok.exe and pavok-cli.exe with the texts beside
; them, for the current user or for every user of the machine, adds a
; Start-menu entry and an uninstaller, and never replaces a newer version.
;
; Defines given by the packaging script:
;   VERSION    the file version, four numbers (1.0.0.3)
;   STAGE      the folder holding the files to install
;   ICON       the program's icon
;   OUTFILE    the installer to write
; Silent use: pavok-setup.exe /S [/CurrentUser | /AllUsers] [/D=folder]

Unicode true
; A 64-bit installer for the 64-bit programs: it runs where they run.
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Pavok"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"

; For every user when the installer may, else for the current one; the
; choice is offered on a page and on the command line.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
; The uninstaller finds the mode it was installed in by this value.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include WordFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\pavok.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "${PRODUCT} ${VERSION} installer"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "GNU GPL version 3 or later"

; A version installed in either place that is newer than this one stays:
; the installer says so and ends (exit status 2) without changing anything.
Function RefuseNewerVersion
  ${ForEach} $1 0 1 + 1
    ${If} $1 == 0
      ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ${Else}
      ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
    ${EndIf}
    ${If} $0 != ""
      ${VersionCompare} "$0" "${VERSION}" $2
      ${If} $2 == 1
        MessageBox MB_OK|MB_ICONSTOP "Уже установлена более новая версия ${PRODUCT} ($0). Установка версии ${VERSION} отменена." /SD IDOK
        SetErrorLevel 2
        Quit
      ${EndIf}
    ${EndIf}
  ${Next}
FunctionEnd

Function .onInit
  !insertmacro MULTIUSER_INIT
  Call RefuseNewerVersion
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Pavok"
  SetOutPath "$INSTDIR"
  File "${STAGE}/pavok.exe"
  File "${STAGE}/pavok-cli.exe"
  File "${STAGE}/README.txt"
  File "${STAGE}/COPYING.txt"
  File "${STAGE}/NEWS.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The entry starts the dialog in the documents folder (of the user, or
  ; the public one for every user): every read leaves temp.bin in the
  ; current folder, and the program's own may not be written.
  SetOutPath "$DOCUMENTS"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\pavok.exe"

  ; Programs and Features, in the hive of the chosen mode.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pavok.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\pavok.exe"
  Delete "$INSTDIR\pavok-cli.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\COPYING.txt"
  Delete "$INSTDIR\NEWS.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files the user put there stay.
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
