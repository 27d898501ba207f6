# The win32 kind (Tapvox.exe, KbdHook.dll, Launcher.exe, the Win32 unit tests) built as 64-bit code:
# for running the Wine tests on a host whose kernel cannot run the 32-bit Wine loader.
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/mingw-x86_64.cmake)
set(TAPVOX_TARGET win32 CACHE STRING "" FORCE)
