; The panel's installer: the program folder as the zip lays it out, a Start-menu entry and an
; uninstaller. makensis -DVERSION=<x.y.z.w> -DSOURCE=<package folder> -DOUTFILE=<setup.exe>
Unicode true
!include "MUI2.nsh"

Name "ORVANE Control Panel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\ORVANE Control Panel"
InstallDirRegKey HKLM "Software\Varnholt Technologies Corp\ORVANE Control Panel" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ORVANE Control Panel"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Install"
    SetRegView 64
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "Software\Varnholt Technologies Corp\ORVANE Control Panel" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "ORVANE Control Panel"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Varnholt Technologies Corp"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\ORVANE Control Panel"
    CreateShortcut "$SMPROGRAMS\ORVANE Control Panel\ORVANE Control Panel.lnk" "$INSTDIR\rz470-control-panel.exe"
    CreateShortcut "$SMPROGRAMS\ORVANE Control Panel\Uninstall.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

; What the installer put there, and nothing else: a maker's RZ470.dll placed beside the panel
; by hand stays.
Section "Uninstall"
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\ORVANE Control Panel\ORVANE Control Panel.lnk"
    Delete "$SMPROGRAMS\ORVANE Control Panel\Uninstall.lnk"
    RMDir "$SMPROGRAMS\ORVANE Control Panel"
    Delete "$INSTDIR\*.exe"
    Delete "$INSTDIR\Qt6*.dll"
    Delete "$INSTDIR\lib*.dll"
    Delete "$INSTDIR\README.txt"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\simulated-unit"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Varnholt Technologies Corp\ORVANE Control Panel"
    DeleteRegKey /ifempty HKLM "Software\Varnholt Technologies Corp"
SectionEnd
