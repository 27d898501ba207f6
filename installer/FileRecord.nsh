; The record of what the installer put in the program folder: for every file it wrote, its size
; and last-write time right after writing, as a value of TVX_FILES_KEY named by the file's path
; inside the folder. A file whose size or time differs from its record was changed by the user
; since, and is neither replaced (under Schemes\) nor removed.

!define TVX_FILES_KEY "${TVX_UNINSTALL_KEY}\Files"

; PREFIX is "" for the installer and "un." for the uninstaller.
!macro TVX_STAMP_FUNCTION PREFIX
; In: $0 the file's path inside $INSTDIR. Out: $1 "size high low", or "" when there is no file.
Function ${PREFIX}TvxStamp
  Push $2
  Push $3
  Push $4
  StrCpy $1 ""
  ClearErrors
  GetFileTime "$INSTDIR\$0" $2 $3
  ${IfNot} ${Errors}
    FileOpen $4 "$INSTDIR\$0" r
    ${IfNot} ${Errors}
      FileSeek $4 0 END $1
      FileClose $4
      StrCpy $1 "$1 $2 $3"
    ${EndIf}
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
FunctionEnd
!macroend
