; The Windows installer: the VST3 bundle into the common VST3 folder, where Windows hosts look,
; vibrascend-render into the program files folder, and an uninstaller registered in Add/Remove
; Programs that removes both. Runs without questions with /S.
; makensis -DVERSION=<x.y.z> -DPUBLISHER=<maker> -DURL=<web page> -DBUNDLE=<Vibrascend.vst3 folder>
;          -DTOOL=<vibrascend-render.exe> -DOUTFILE=<setup program> installer.nsi
; A 64-bit setup program, like the plug-in: it sees the 64-bit file system and registry as the
; hosts that load the plug-in do.
Target amd64-unicode

!define PRODUCT "Vibrascend"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The folder of the 64-bit programs' VST3 plug-ins, as a 64-bit host sees it.
!define VST3_BUNDLE "$COMMONFILES64\VST3\${PRODUCT}.vst3"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "${PRODUCT}"
  RMDir /r "${VST3_BUNDLE}"
  SetOutPath "${VST3_BUNDLE}"
  File /r "${BUNDLE}\*"
  ; Explorer shows the bundle with its icon when the folder is marked and desktop.ini hidden.
  SetFileAttributes "${VST3_BUNDLE}" SYSTEM
  SetFileAttributes "${VST3_BUNDLE}\desktop.ini" HIDDEN|SYSTEM

  SetOutPath "$INSTDIR"
  File "${TOOL}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${URL}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  RMDir /r "${VST3_BUNDLE}"
  ; The VST3 folder goes too when no other plug-in is left in it.
  RMDir "$COMMONFILES64\VST3"
  Delete "$INSTDIR\vibrascend-render.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
