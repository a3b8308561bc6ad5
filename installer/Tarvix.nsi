; Tarvix setup: installs Tarvix.exe and the files it reads beside itself,
; a Backups folder every user may write to, Start menu entries and an
; uninstaller.
;
; Built by the `installer` target of the build (installer/installer.cmake):
;   makensis -DTARVIX_VERSION=1.0.0.1 -DTARVIX_FILES=<folder of Tarvix.exe>
;            -DTARVIX_OUTFILE=<setup.exe> [-DTARVIX_ICON=ui/TrayIcon.ico]
;            [-DTARVIX_ART=installer/art] installer/Tarvix.nsi
; The pictures in installer/art are drawn by tools/draw-identity.py.
;
; Silent use:
;   Tarvix-<version>-setup.exe /S [/D=C:\Some\Folder]
;   Uninstall.exe /S            keeps the settings and the backups
;   Uninstall.exe /S /PURGE     removes them as well

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!ifndef TARVIX_VERSION
  !error "TARVIX_VERSION is not defined (pass -DTARVIX_VERSION=major.minor.0.revision)"
!endif
!ifndef TARVIX_FILES
  !error "TARVIX_FILES is not defined (pass -DTARVIX_FILES=<folder holding Tarvix.exe>)"
!endif
!ifndef TARVIX_OUTFILE
  !define TARVIX_OUTFILE "Tarvix-${TARVIX_VERSION}-setup.exe"
!endif

!define PRODUCT "Tarvix"
!define PUBLISHER "Brimcove"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvix"
!define SETTINGS_KEY "SOFTWARE\Brimcove\Tarvix"
!define VENDOR_KEY "SOFTWARE\Brimcove"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The well-known identifier of the local Users group: the same on every
; language of Windows, unlike the group's name.
!define USERS_SID "*S-1-5-32-545"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

Name "${PRODUCT}"
OutFile "${TARVIX_OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${TARVIX_VERSION}"

VIProductVersion "${TARVIX_VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${TARVIX_VERSION}"
VIAddVersionKey "ProductVersion" "${TARVIX_VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!ifdef TARVIX_ICON
  !define MUI_ICON "${TARVIX_ICON}"
  !define MUI_UNICON "${TARVIX_ICON}"
!endif
!ifdef TARVIX_ART
  ; Tarvix's gauge on the main window's colours on the welcome and finish
  ; pages, and the gauge at the right of the inner pages' header.
  !define MUI_WELCOMEFINISHPAGE_BITMAP "${TARVIX_ART}/welcome.bmp"
  !define MUI_UNWELCOMEFINISHPAGE_BITMAP "${TARVIX_ART}/welcome.bmp"
  !define MUI_HEADERIMAGE
  !define MUI_HEADERIMAGE_RIGHT
  !define MUI_HEADERIMAGE_BITMAP "${TARVIX_ART}/header.bmp"
  !define MUI_HEADERIMAGE_UNBITMAP "${TARVIX_ART}/header.bmp"
!endif
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tarvix.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tarvix"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\TarvixHelp.chm"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the help"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Tarvix" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; The program and every file it reads beside itself.
  File "${TARVIX_FILES}\Tarvix.exe"
  File "${TARVIX_FILES}\Tarvix.movie"
  File "${TARVIX_FILES}\TarvixMask.skn"
  File "${TARVIX_FILES}\TarvixHelp.chm"
  File "${TARVIX_FILES}\Ping.wav"
  File "${TARVIX_FILES}\low-memory.wav"

  ; Backups are written beside the program, so every user needs to be able
  ; to write there. icacls does not exist on every system; its failure is
  ; no reason to stop.
  CreateDirectory "$INSTDIR\Backups"
  nsExec::Exec 'icacls "$INSTDIR\Backups" /grant ${USERS_SID}:(OI)(CI)M'
  Pop $0
  ${If} $0 != 0
    DetailPrint "Could not grant the Users group write access to $INSTDIR\Backups ($0)."
  ${EndIf}

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Tarvix.lnk" "$INSTDIR\Tarvix.exe" "" "$INSTDIR\Tarvix.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Tarvix Help.lnk" "$INSTDIR\TarvixHelp.chm"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall Tarvix.lnk" "$INSTDIR\Uninstall.exe"

  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${TARVIX_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tarvix.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  ; A running Tarvix keeps its executable open; ask it to go first.
  nsExec::Exec 'taskkill /IM Tarvix.exe'
  Pop $0

  Delete "$INSTDIR\Tarvix.exe"
  Delete "$INSTDIR\Tarvix.movie"
  Delete "$INSTDIR\TarvixMask.skn"
  Delete "$INSTDIR\TarvixHelp.chm"
  Delete "$INSTDIR\Ping.wav"
  Delete "$INSTDIR\low-memory.wav"
  Delete "$INSTDIR\Uninstall.exe"

  Delete "$SMPROGRAMS\${PRODUCT}\Tarvix.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Tarvix Help.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall Tarvix.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; The start-with-Windows entry belongs to the user who set it.
  DeleteRegValue HKCU "${RUN_KEY}" "Tarvix"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; Settings and backups are the user's: remove them only when asked to.
  ; A silent uninstall keeps them, unless /PURGE is given.
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "/PURGE" $R1
  ${IfNot} ${Errors}
    Goto purge
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Also remove Tarvix's settings and the backups of your network settings in $INSTDIR\Backups?$\r$\n$\r$\nAnswer No to keep them for a later installation." \
    /SD IDNO IDYES purge
  Goto done
purge:
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
  RMDir /r "$INSTDIR\Backups"
done:
  ; Removed only when nothing is left in it (kept backups keep it).
  RMDir "$INSTDIR"
SectionEnd
