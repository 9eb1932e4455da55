; The Windows installer of Tonvela. scripts/release.sh passes:
;   VERSION       the project's version, "2019.05.10"
;   FILE_VERSION  the same as four numbers, "2019.5.10.0"
;   X64_EXE, X86_EXE  the 64-bit and the 32-bit program
;   X64_SIZE_KB, X86_SIZE_KB  their sizes, for the list of installed programs
;   ICON          the application icon, also the installer's
;   OUTFILE       the installer to write
;   TARGET        optional: amd64-unicode for a 64-bit installer (the one shipped is 32-bit,
;                 to run on every Windows; the 64-bit one lets a machine that runs no
;                 32-bit code test this script)
; It installs the 64-bit program on 64-bit Windows and the 32-bit one elsewhere, adds a
; Start menu shortcut for all users and registers its uninstaller in the system's list of
; installed programs. /S installs (and, given to the uninstaller, removes) without asking.
!ifdef TARGET
  Target ${TARGET}
  ; For a 64-bit program ${RunningX64} is known when compiling, and LogicLib's labels
  ; for the other branch go unused.
  !pragma warning disable 6012
!else
  Unicode true
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Tonvela"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tonvela"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "the Tonvela developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used when Windows runs in neither.
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  ; /D=... on the command line sets the folder before this runs.
  ${If} $INSTDIR == ""
    ${If} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Tonvela"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "/oname=tonvela.exe" "${X64_EXE}"
  ${Else}
    File "/oname=tonvela.exe" "${X86_EXE}"
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tonvela.exe" "" "$INSTDIR\tonvela.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "the Tonvela developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tonvela.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} ${RunningX64}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${X64_SIZE_KB}
  ${Else}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${X86_SIZE_KB}
  ${EndIf}
SectionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\tonvela.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
