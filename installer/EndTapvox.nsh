; Ends a running Tapvox before its files are replaced or removed, the way its own menu does:
; the Exit command posted to its main window, then a wait for the process. Only a program that
; no longer answers its window is ended by force; one that answers but stays gets the user's
; Retry or Cancel (Cancel in a silent run, which then fails).

!define TVX_MAIN_WINDOW_CLASS "TVX_SOUNDPRG_MAINWND"
!define TVX_HELPER_WINDOW_CLASS "TVX_HOOKPROC_WND"
!define TVX_COMMAND_EXIT 40017
!define TVX_EXIT_WAIT_MS 15000
!define TVX_ANSWER_WAIT_MS 5000

; PREFIX is "" for the installer and "un." for the uninstaller.
!macro TVX_END_TAPVOX_FUNCTION PREFIX
Function ${PREFIX}TvxEndTapvox
  Push $0
  Push $1
  Push $2
  Push $3
  ${Do}
    FindWindow $0 "${TVX_MAIN_WINDOW_CLASS}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1) i"
    ; SYNCHRONIZE | PROCESS_TERMINATE
    System::Call "kernel32::OpenProcess(i 0x00100001, i 0, i r1) p .r2"
    System::Call "user32::PostMessage(p r0, i ${WM_COMMAND}, p ${TVX_COMMAND_EXIT}, p 0) i"
    StrCpy $3 1
    ${If} $2 P<> 0
      System::Call "kernel32::WaitForSingleObject(p r2, i ${TVX_EXIT_WAIT_MS}) i .r3"
    ${Else}
      ; No handle to wait on: watch the window instead.
      Sleep ${TVX_EXIT_WAIT_MS}
      System::Call "user32::IsWindow(p r0) i .r3"
    ${EndIf}
    ${If} $3 <> 0
      ; Still there. SMTO_ABORTIFHUNG: a hung window answers at once with a failure.
      System::Call "user32::SendMessageTimeout(p r0, i ${WM_NULL}, p 0, p 0, i 2, i ${TVX_ANSWER_WAIT_MS}, *p .r1) p .r3"
      ${If} $3 P= 0
      ${AndIf} $2 P<> 0
        System::Call "kernel32::TerminateProcess(p r2, i 1) i"
        System::Call "kernel32::WaitForSingleObject(p r2, i ${TVX_EXIT_WAIT_MS}) i"
      ${Else}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(TVX_STILL_RUNNING)" /SD IDCANCEL IDRETRY retry
          ${If} $2 P<> 0
            System::Call "kernel32::CloseHandle(p r2)"
          ${EndIf}
          Quit
        retry:
      ${EndIf}
    ${EndIf}
    ${If} $2 P<> 0
      System::Call "kernel32::CloseHandle(p r2)"
    ${EndIf}
  ${Loop}
  ; The 64-bit helper, which Tapvox closes on its way out, holds its file until it has ended.
  ; Its window is message-only: FindWindow does not see it.
  System::Call "user32::FindWindowEx(p -3, p 0, t '${TVX_HELPER_WINDOW_CLASS}', p 0) p .r0"
  ${If} $0 P<> 0
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1) i"
    System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2"
    System::Call "user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0) i"
    ${If} $2 P<> 0
      System::Call "kernel32::WaitForSingleObject(p r2, i ${TVX_EXIT_WAIT_MS}) i"
      System::Call "kernel32::CloseHandle(p r2)"
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
