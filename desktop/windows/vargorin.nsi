; The reader's per-user installer: no administrator, the program under the
; user's own Programs folder, a Start-menu shortcut that starts it in a
; working folder of its own (the reader writes its working copy into the
; folder it starts in), and an entry in "Apps & features" that removes it
; all again. Made by scripts/windows.sh with makensis, which defines the
; files (PROGRAM, ICON, LICENSE_FILE, NOTICES_FILE, README_FILE), the version
; (VERSION, the Debian package's) and the program's size (ESTIMATED_KB), and
; names the output with -XOutFile.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Vargorin összes költeménye"
!define PUBLISHER "Pellimor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vargorin"
; Where the Start-menu entry starts the reader: the user's, outside the
; program's folder.
!define WORK_FOLDER "$LOCALAPPDATA\Vargorin"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
InstallDir "$LOCALAPPDATA\Programs\Vargorin"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1038 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1038 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1038 "FileDescription" "${PRODUCT} – telepítő"
VIAddVersionKey /LANG=1038 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1038 "LegalCopyright" "© 2026 ${PUBLISHER}"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartReader
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Hungarian"

Section "Program"
  SetOutPath "$INSTDIR"
  File "/oname=vargorin.exe" "${PROGRAM}"
  File "/oname=LICENSE.txt" "${LICENSE_FILE}"
  File "/oname=THIRD-PARTY-NOTICES.txt" "${NOTICES_FILE}"
  File "/oname=OLVASSEL.txt" "${README_FILE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; CreateShortCut takes the current output folder as the working folder.
  CreateDirectory "${WORK_FOLDER}"
  SetOutPath "${WORK_FOLDER}"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\vargorin.exe" "" "$INSTDIR\vargorin.exe" 0 SW_SHOWNORMAL "" "${PRODUCT}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vargorin.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${ESTIMATED_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function StartReader
  SetOutPath "${WORK_FOLDER}"
  Exec '"$INSTDIR\vargorin.exe"'
FunctionEnd

; Everything the installer made, and a working copy that a log-off left in
; the working folder; the folder itself only when nothing else is in it.
Section "Uninstall"
  Delete "$INSTDIR\vargorin.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\OLVASSEL.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  Delete "${WORK_FOLDER}\Vargorin.db"
  RMDir "${WORK_FOLDER}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
