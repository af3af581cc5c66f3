; The Windows installer: the programs into Program Files\Lanvista, the dialog in the Start
; menu, an uninstaller registered with Windows. /S installs and uninstalls silently.
; makensis is given VERSION, OUTFILE and PROGRAMS (an include file that CMake writes with
; one ProgramFile line per program; the dialog's also sets DIALOG).

; A 64-bit installer for the 64-bit programs (and Wine without its 32-bit half runs it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "x64.nsh"
!include "${PROGRAMS}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lanvista"

Name "Lanvista ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Lanvista"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Lanvista"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Lanvista installer"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A 64-bit program: its registry view and its Program Files, for every user.
Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Lanvista"
  SetOutPath "$INSTDIR"
  !insertmacro InstallPrograms
  WriteUninstaller "$INSTDIR\uninstall.exe"
!ifdef DIALOG
  CreateShortCut "$SMPROGRAMS\Lanvista.lnk" "$INSTDIR\${DIALOG}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\${DIALOG}$\""
!endif
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Lanvista"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !insertmacro RemovePrograms
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
!ifdef DIALOG
  Delete "$SMPROGRAMS\Lanvista.lnk"
!endif
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
