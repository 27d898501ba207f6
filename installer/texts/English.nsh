; The installer's own texts in English; also the texts of every page language that has no file
; of its own here.
!macro TVX_ENGLISH_TEXTS LANG
LangString TVX_OPTIONS_TITLE ${LANG} "Options"
LangString TVX_OPTIONS_SUBTITLE ${LANG} "How Tapvox starts, which language it speaks and how its sounds play."
LangString TVX_AUTOSTART ${LANG} "Start Tapvox with Windows"
LangString TVX_LANGUAGE_LABEL ${LANG} "Language of the program:"
LangString TVX_OVERLAP ${LANG} "Let sounds overlap"
LangString TVX_START_NOW ${LANG} "Start Tapvox now"
LangString TVX_STILL_RUNNING ${LANG} "Tapvox is running and does not close. Close it from its tray icon, then choose Retry."
LangString TVX_NEEDS_WINDOWS_10 ${LANG} "Tapvox needs Windows 10 version 1607 or later, or Windows 11. On older versions of Windows it would break typing accented letters in every program, so it is not installed."
LangString TVX_REMOVED ${LANG} "Tapvox has been removed from your computer."
LangString TVX_KEPT_SETTINGS ${LANG} "Your settings stay in the registry under HKEY_CURRENT_USER\Software\Quillmark\Tapvox."
LangString TVX_KEPT_FILES ${LANG} "Files you made or changed stay in $INSTDIR"
LangString TVX_KEPT_SCHEMES ${LANG} "Sound schemes kept:"
LangString TVX_FOLDER_OUTSIDE_CODE_PAGE ${LANG} "Tapvox cannot work in this folder: its name has letters that the system's language for non-Unicode programs lacks, and it has no short name that Tapvox could use instead. Choose a folder whose name has only such letters, for example C:\Tapvox."
!macroend
