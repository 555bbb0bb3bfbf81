; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer (NSIS 3, 64-bit): both programs, the README, the licence and
; the licences of the libraries in them in Program Files, a Start-menu entry, an
; uninstaller listed in Add/Remove Programs and, when chosen (off by default), .edt
; files shown with the editor's icon and opening it.
; /S installs silently; /ASSOCIATE chooses the association there too. Built by
; scripts/package-windows.sh, which defines VERSION (1.0.1), VERSION4 (1.0.0.1),
; VERSIONTEXT (1.00.0001), STAGE (the folder of the files), ICON and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Zelvar EDT File Editor"
!define PUBLISHER "The EDT editor developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\EDT Editor"
!define PROG_ID "EdtEditor.edt"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\EDT Editor"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}. GPL-3.0-or-later."
VIAddVersionKey "FileVersion" "${VERSIONTEXT}"
VIAddVersionKey "ProductVersion" "${VERSIONTEXT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_SMALLDESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\edt-editor.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "!${PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\edt-editor.exe"
  File "${STAGE}\edt-tool.exe"
  File "${STAGE}\README.md"
  File "${STAGE}\LICENSE"
  File /r "${STAGE}\licences"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\edt-editor.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\edt-editor.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; A double-click starts the editor with the file, which it opens as File > Open ... does.
Section /o "Open .edt files with the editor" SecAssociate
  WriteRegStr HKLM "Software\Classes\.edt" "" "${PROG_ID}"
  WriteRegStr HKLM "Software\Classes\${PROG_ID}" "" "EDT text file"
  WriteRegStr HKLM "Software\Classes\${PROG_ID}\DefaultIcon" "" "$INSTDIR\edt-editor.exe,0"
  WriteRegStr HKLM "Software\Classes\${PROG_ID}\shell\open\command" "" '"$INSTDIR\edt-editor.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The editor, edt-tool, a Start-menu entry and the uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAssociate} "Show .edt files with the editor's icon and open them in the editor with a double-click."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ASSOCIATE" $1
  IfErrors +2
    SectionSetFlags ${SecAssociate} ${SF_SELECTED}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\edt-editor.exe"
  Delete "$INSTDIR\edt-tool.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE"
  RMDir /r "$INSTDIR\licences"
  ; This runs from a copy of the uninstaller, started by the one in $INSTDIR, which may
  ; not have ended yet (or a virus scanner may still hold it): try again for ten seconds.
  StrCpy $1 0
  retry:
    ClearErrors
    Delete "$INSTDIR\uninstall.exe"
    IfErrors 0 deleted
    IntOp $1 $1 + 1
    IntCmp $1 100 deleted
    Sleep 100
    Goto retry
  deleted:
  RMDir "$INSTDIR"
  ; The association, where .edt still names this editor.
  ReadRegStr $0 HKLM "Software\Classes\.edt" ""
  StrCmp $0 "${PROG_ID}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.edt"
  DeleteRegKey HKLM "Software\Classes\${PROG_ID}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
