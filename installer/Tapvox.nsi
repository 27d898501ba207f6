; Tapvox's setup program, built by scripts/build-installer.py from the staged program folder:
; makensis -DTVX_GENERATED=<the lists it wrote> -DTVX_OUTDIR=<folder> installer/Tapvox.nsi
;
; A per-user install (no administrator rights), by default into %LOCALAPPDATA%\Programs\Tapvox:
; the scheme editor saves beside the program, which a user cannot do under Program Files.
; Command line: /S silent, /AUTOSTART start with Windows, /LANGUAGE=Name the program's language,
; /D=folder (last) the folder.

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include WinVer.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh
!include MUI2.nsh

; The version, from the one file the program's own version resources read.
!searchparse /file "../res/version.h" "#define TAPVOX_VERSION_MAJOR " TVX_MAJOR
!searchparse /file "../res/version.h" "#define TAPVOX_VERSION_MINOR " TVX_MINOR
!searchparse /file "../res/version.h" "#define TAPVOX_VERSION_RELEASE " TVX_RELEASE
!searchparse /file "../res/version.h" "#define TAPVOX_VERSION_BUILD " TVX_BUILD
!searchparse /file "../res/version.h" '#define TAPVOX_COMPANY "' TVX_COMPANY '"'
!define TVX_VERSION "${TVX_MAJOR}.${TVX_MINOR}.${TVX_RELEASE}"

!define TVX_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tapvox"
!define TVX_SETTINGS_KEY "Software\Quillmark\Tapvox"
!define TVX_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define TVX_DELETE_TRIES 10

!include "${TVX_GENERATED}"
!include EndTapvox.nsh
!include FileRecord.nsh

Name "Tapvox"
OutFile "${TVX_OUTDIR}/Tapvox-${TVX_VERSION}-setup.exe"
InstallDir "$LOCALAPPDATA\Programs\Tapvox"
InstallDirRegKey HKCU "${TVX_UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tapvox ${TVX_VERSION}"

Var ChosenAutostart  ; "1" write the Run value, "0" remove it, "" leave it as it is
Var ChosenLanguage   ; a shipped language to store, or "" to leave "Language" as it is
Var PageLanguage     ; what the options page showed first
Var ChosenOverlap    ; "1" or "0" to store as "Overlap", "" to leave it as it is
Var PageOverlap      ; what the options page showed first
Var AutostartBox
Var OverlapBox
Var LanguageBox
Var Kept             ; the uninstaller's account of what it left

!define MUI_ICON "../res/Tapvox.ico"
!define MUI_UNICON "../res/Tapvox.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
; The licence page shows the repository's LICENSE, which names the parts of other authors.
!insertmacro MUI_PAGE_LICENSE "../LICENSE"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
Page custom OptionsShow OptionsLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(TVX_START_NOW)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartTapvox
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(TVX_REMOVED)$\r$\n$\r$\n$Kept"
!insertmacro MUI_UNPAGE_FINISH

; English first, then the page languages of the shipped modules; the system's language picks.
!insertmacro MUI_LANGUAGE "English"
!include texts/English.nsh
!insertmacro TVX_ENGLISH_TEXTS ${LANG_ENGLISH}
!macro TVX_PAGE_LANGUAGE NAME
  !if /FileExists "${NSISDIR}/Contrib/Language files/${NAME}.nlf"
    !insertmacro MUI_LANGUAGE "${NAME}"
    !if /FileExists "texts/${NAME}.nsh"
      !include "texts/${NAME}.nsh"
    !else
      !insertmacro TVX_ENGLISH_TEXTS ${LANG_${NAME}}
    !endif
  !endif
!macroend
!insertmacro TVX_FOR_EACH_MODULE TVX_PAGE_LANGUAGE

VIProductVersion "${TVX_VERSION}.${TVX_BUILD}"
VIFileVersion "${TVX_VERSION}.${TVX_BUILD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${TVX_COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Tapvox setup and uninstaller"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${TVX_VERSION}.${TVX_BUILD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Tapvox"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${TVX_VERSION}.${TVX_BUILD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) ${TVX_COMPANY}"

!insertmacro TVX_END_TAPVOX_FUNCTION ""
!insertmacro TVX_END_TAPVOX_FUNCTION "un."
!insertmacro TVX_STAMP_FUNCTION ""
!insertmacro TVX_STAMP_FUNCTION "un."

; ---- Installer ------------------------------------------------------------------------------

; In: $0 a language name. Out: $1 its shipped spelling, or "" when no module of that name ships.
Function ShippedLanguage
  StrCpy $1 ""
  !macro TVX_MATCH_LANGUAGE NAME
    ${If} $0 == "${NAME}"  ; without regard to case
      StrCpy $1 "${NAME}"
    ${EndIf}
  !macroend
  !insertmacro TVX_MATCH_LANGUAGE English
  !insertmacro TVX_FOR_EACH_MODULE TVX_MATCH_LANGUAGE
FunctionEnd

Function .onInit
  ; Windows 10 version 1607 (build 14393) is the least system Tapvox supports: on older ones its
  ; keyboard hook would break accented typing (dead keys) in every program.
  ${IfNot} ${AtLeastWin10}
  ${OrIfNot} ${AtLeastBuild} 14393
    MessageBox MB_OK|MB_ICONSTOP "$(TVX_NEEDS_WINDOWS_10)" /SD IDOK
    Abort
  ${EndIf}
  StrCpy $ChosenAutostart ""
  StrCpy $ChosenLanguage ""
  StrCpy $ChosenOverlap ""
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART" $R1
  ${IfNot} ${Errors}
    StrCpy $ChosenAutostart 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/LANGUAGE=" $R1
  ${IfNot} ${Errors}
    StrCpy $0 $R1
    Call ShippedLanguage
    StrCpy $ChosenLanguage $1
  ${EndIf}
FunctionEnd

; Tapvox opens its files through the system's ANSI calls, so its folder must be named in the
; ANSI code page, or have a short (8.3) name that is: the short name is what the program uses.
; A folder not there yet is made to learn its short name, and the folders made for that are
; removed again. Out: $R9 "" when Tapvox can work in $INSTDIR, else why it cannot.
Function CheckInstallFolder
  StrCpy $R9 ""
  StrCpy $0 $INSTDIR
  Call SurvivesCodePage
  ${If} $1 == 1
    Return
  ${EndIf}
  ; The nearest folder that is there already: the ones below it are made here.
  StrCpy $2 $INSTDIR
  ${DoUntil} ${FileExists} "$2\*.*"
    StrCpy $3 $2
    ${GetParent} $3 $2
    ${If} $2 == $3
    ${OrIf} $2 == ""
      ${Break}
    ${EndIf}
  ${Loop}
  CreateDirectory $INSTDIR
  ClearErrors
  GetFullPathName /SHORT $0 $INSTDIR
  StrCpy $1 0
  ${IfNot} ${Errors}
  ${AndIf} $0 != ""
    Call SurvivesCodePage
  ${EndIf}
  StrCpy $3 $INSTDIR
  StrLen $4 $2
  StrLen $5 $3
  ${DoWhile} $5 > $4
    RMDir $3  ; only when empty: a folder of the user's stays
    ${GetParent} $3 $3
    StrLen $5 $3
  ${Loop}
  ${If} $1 != 1
    StrCpy $R9 "$(TVX_FOLDER_OUTSIDE_CODE_PAGE)$\r$\n$\r$\n$INSTDIR"
  ${EndIf}
FunctionEnd

; In: $0 a text. Out: $1 1 when it comes back unchanged from the ANSI code page, else 0. The
; plugin turns the ANSI result back into wide text through the same code page.
Function SurvivesCodePage
  StrCpy $6 0
  System::Call 'kernel32::WideCharToMultiByte(i 0, i 0, w r0, i -1, m .r1, \
                i ${NSIS_MAX_STRLEN}, p 0, p 0) i .r6'
  ${If} $6 > 0
  ${AndIf} $0 S== $1
    StrCpy $1 1
  ${Else}
    StrCpy $1 0
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Call CheckInstallFolder
  ${If} $R9 != ""
    MessageBox MB_OK|MB_ICONSTOP $R9
    Abort
  ${EndIf}
FunctionEnd

Function OptionsShow
  !insertmacro MUI_HEADER_TEXT "$(TVX_OPTIONS_TITLE)" "$(TVX_OPTIONS_SUBTITLE)"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}

  ${NSD_CreateCheckbox} 0 0 100% 12u "$(TVX_AUTOSTART)"
  Pop $AutostartBox
  ; Checked first: as the command line says, else as an earlier install left it.
  ReadRegStr $0 HKCU "${TVX_RUN_KEY}" "Tapvox"
  ${If} $ChosenAutostart == ""
    StrCpy $ChosenAutostart 0
    ${If} $0 != ""
      StrCpy $ChosenAutostart 1
    ${EndIf}
  ${EndIf}
  ${If} $ChosenAutostart == 1
    ${NSD_Check} $AutostartBox
  ${EndIf}

  ${NSD_CreateLabel} 0 28u 100% 10u "$(TVX_LANGUAGE_LABEL)"
  Pop $0
  ${NSD_CreateDropList} 0 40u 50% 80u ""
  Pop $LanguageBox
  !macro TVX_ADD_LANGUAGE NAME
    ${NSD_CB_AddString} $LanguageBox "${NAME}"
  !macroend
  !insertmacro TVX_ADD_LANGUAGE English
  !insertmacro TVX_FOR_EACH_MODULE TVX_ADD_LANGUAGE
  ; Shown first: the command line's choice, else the stored one, else English.
  StrCpy $PageLanguage $ChosenLanguage
  ${If} $PageLanguage == ""
    ReadRegStr $0 HKCU "${TVX_SETTINGS_KEY}" "Language"
    Call ShippedLanguage
    StrCpy $PageLanguage $1
  ${EndIf}
  ${If} $PageLanguage == ""
    StrCpy $PageLanguage English
  ${EndIf}
  ${NSD_CB_SelectString} $LanguageBox $PageLanguage

  ${NSD_CreateCheckbox} 0 64u 100% 12u "$(TVX_OVERLAP)"
  Pop $OverlapBox
  ; Checked first as the program reads the stored value: any number but 0 is on.
  ReadRegStr $0 HKCU "${TVX_SETTINGS_KEY}" "Overlap"
  IntOp $PageOverlap $0 + 0
  ${If} $PageOverlap != 0
    StrCpy $PageOverlap 1
    ${NSD_Check} $OverlapBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function OptionsLeave
  ${NSD_GetState} $AutostartBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $ChosenAutostart 1
  ${Else}
    StrCpy $ChosenAutostart 0
  ${EndIf}
  ${NSD_GetText} $LanguageBox $0
  ${If} $0 != $PageLanguage
  ${OrIf} $ChosenLanguage != ""
    StrCpy $ChosenLanguage $0
  ${EndIf}
  ; Stored only when changed, and then as the program's Settings dialog stores it.
  ${NSD_GetState} $OverlapBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  ${If} $0 != $PageOverlap
    StrCpy $ChosenOverlap $0
  ${EndIf}
FunctionEnd

Function StartTapvox
  SetOutPath $INSTDIR
  Exec '"$INSTDIR\Tapvox.exe"'
FunctionEnd

; In: $0 a path under Schemes\. Out: $R9 1 when the file may be written: it is not there, or
; it is exactly as an earlier install left it.
Function MayReplaceSchemeFile
  StrCpy $R9 1
  ${If} ${FileExists} "$INSTDIR\$0"
    ReadRegStr $R8 HKCU "${TVX_FILES_KEY}" "$0"
    Call TvxStamp
    ${If} $R8 != $1
    ${OrIf} $R8 == ""
      StrCpy $R9 0
    ${EndIf}
  ${EndIf}
FunctionEnd

; Used by the generated TVX_INSTALL_FILES: one program file (always replaced) or scheme file.
!macro TVX_FILE KIND FOLDER PATH SOURCE
  StrCpy $0 "${PATH}"
  !if "${KIND}" == "scheme"
    Call MayReplaceSchemeFile
  !else
    StrCpy $R9 1
  !endif
  ${If} $R9 == 1
    SetOutPath "$INSTDIR${FOLDER}"
    File "${SOURCE}"
    Call TvxStamp
    WriteRegStr HKCU "${TVX_FILES_KEY}" "$0" "$1"
  ${Else}
    ; The user's file now: no longer ours to replace or remove.
    DeleteRegValue HKCU "${TVX_FILES_KEY}" "$0"
  ${EndIf}
!macroend

Section "Tapvox" SecProgram
  SectionIn RO
  ; The directory page checked already; /S with /D= comes here unchecked.
  Call CheckInstallFolder
  ${If} $R9 != ""
    MessageBox MB_OK|MB_ICONSTOP $R9 /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Call TvxEndTapvox
  SetOutPath $INSTDIR
  !insertmacro TVX_INSTALL_FILES
  SetOutPath $INSTDIR
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Tapvox.lnk" "$INSTDIR\Tapvox.exe"
  !ifdef TVX_HAVE_HELP
    CreateShortcut "$SMPROGRAMS\Tapvox Help.lnk" "$INSTDIR\Help.chm"
  !endif

  WriteRegStr HKCU "${TVX_UNINSTALL_KEY}" "DisplayName" "Tapvox"
  WriteRegStr HKCU "${TVX_UNINSTALL_KEY}" "DisplayVersion" "${TVX_VERSION}"
  WriteRegStr HKCU "${TVX_UNINSTALL_KEY}" "Publisher" "${TVX_COMPANY}"
  WriteRegStr HKCU "${TVX_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tapvox.exe,0"
  WriteRegStr HKCU "${TVX_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${TVX_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${TVX_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKCU "${TVX_UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${TVX_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${TVX_UNINSTALL_KEY}" "NoRepair" 1

  ; The same text as the program's own Startup command writes, so its check mark agrees: in a
  ; folder named outside the code page, the program knows itself by the folder's short form.
  ${If} $ChosenAutostart == 1
    StrCpy $0 $INSTDIR
    Call SurvivesCodePage
    ${If} $1 != 1
      GetFullPathName /SHORT $0 $INSTDIR
    ${EndIf}
    WriteRegStr HKCU "${TVX_RUN_KEY}" "Tapvox" '"$0\Launcher.exe"'
  ${ElseIf} $ChosenAutostart == 0
    DeleteRegValue HKCU "${TVX_RUN_KEY}" "Tapvox"
  ${EndIf}
  ; English is the program's own language: no value.
  ${If} $ChosenLanguage == English
    DeleteRegValue HKCU "${TVX_SETTINGS_KEY}" "Language"
  ${ElseIf} $ChosenLanguage != ""
    WriteRegStr HKCU "${TVX_SETTINGS_KEY}" "Language" $ChosenLanguage
  ${EndIf}
  ${If} $ChosenOverlap != ""
    WriteRegStr HKCU "${TVX_SETTINGS_KEY}" "Overlap" $ChosenOverlap
  ${EndIf}
SectionEnd

; ---- Uninstaller ----------------------------------------------------------------------------

; In: $0 a recorded path. Removes the file when it is as the installer left it, then every
; folder above it up to $INSTDIR that is empty now.
Function un.RemoveRecordedFile
  ReadRegStr $R8 HKCU "${TVX_FILES_KEY}" "$0"
  Call un.TvxStamp
  ${If} $1 == ""
  ${OrIf} $1 != $R8
    Return
  ${EndIf}
  ; A program that ended a moment ago may still hold its file: a few more tries.
  StrCpy $3 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\$0"
    ${IfNot} ${Errors}
    ${OrIf} $3 >= ${TVX_DELETE_TRIES}
      ${Break}
    ${EndIf}
    IntOp $3 $3 + 1
    Sleep 500
  ${Loop}
  StrLen $3 $INSTDIR
  ${GetParent} "$INSTDIR\$0" $2
  StrLen $4 $2
  ${DoWhile} $4 > $3
    RMDir $2
    ${GetParent} $2 $2
    StrLen $4 $2
  ${Loop}
FunctionEnd

; Out: $Kept, what stays and where.
Function un.DescribeKept
  StrCpy $Kept "$(TVX_KEPT_SETTINGS)"
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    Return
  ${EndIf}
  StrCpy $Kept "$Kept$\r$\n$(TVX_KEPT_FILES)"
  StrCpy $3 ""
  FindFirst $1 $2 "$INSTDIR\Schemes\*"
  ${DoWhile} $2 != ""
    StrCpy $4 $2 1
    ${If} $4 != "."
    ${AndIf} ${FileExists} "$INSTDIR\Schemes\$2\*.*"
      ${If} $3 == ""
        StrCpy $3 $2
      ${Else}
        StrCpy $3 "$3, $2"
      ${EndIf}
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
  ${If} $3 != ""
    StrCpy $Kept "$Kept$\r$\n$(TVX_KEPT_SCHEMES) $3"
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; The autostart entry may name the folder by its short form, which goes with the folder.
  GetFullPathName /SHORT $R6 $INSTDIR
  Call un.TvxEndTapvox
  ; Each file the record names; the record itself goes with the uninstall entry below.
  StrCpy $5 0
  ${Do}
    EnumRegValue $0 HKCU "${TVX_FILES_KEY}" $5
    ${If} $0 == ""
      ${Break}
    ${EndIf}
    Call un.RemoveRecordedFile
    IntOp $5 $5 + 1
  ${Loop}
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Tapvox.lnk"
  Delete "$SMPROGRAMS\Tapvox Help.lnk"
  ReadRegStr $0 HKCU "${TVX_RUN_KEY}" "Tapvox"
  ${If} $0 == '"$INSTDIR\Launcher.exe"'
  ${OrIf} $0 == '"$R6\Launcher.exe"'
    DeleteRegValue HKCU "${TVX_RUN_KEY}" "Tapvox"
  ${EndIf}
  DeleteRegKey HKCU "${TVX_UNINSTALL_KEY}"
  Call un.DescribeKept
  DetailPrint $Kept
SectionEnd
