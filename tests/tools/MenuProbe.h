// What tvxctl and MenuProbe.dll agree on. A menu lives in the process that made it (Wine
// answers no menu call from another process), so tvxctl hooks the thread of an open popup menu
// with MenuProbe.dll; on the probe message the hook, inside that process, writes the menu's
// items into a shared block that tvxctl then prints.
#pragma once
#include <windows.h>

constexpr wchar_t kMenuProbeMessage[] = L"TVX_MENU_PROBE";
constexpr wchar_t kMenuProbeBlock[] = L"TVX_MENU_PROBE_BLOCK";
constexpr DWORD kMenuProbeBlockChars = 16384;
// The hook procedure's export, a WH_CALLWNDPROC hook.
constexpr char kMenuProbeExport[] = "MenuProbeHook";
