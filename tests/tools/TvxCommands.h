// The commands of tvxctl, the test suite's remote control for Tapvox under Wine. Each takes the
// arguments after its name and returns the process exit code (see tvxctl_main.cpp).
#pragma once

enum TvxExit { TvxOk = 0, TvxFailed = 1, TvxUsage = 2, TvxMissing = 3 };

int CmdFindWindow(int argc, char** argv);
int CmdWindows(int argc, char** argv);
int CmdForeground(int argc, char** argv);
int CmdSend(int argc, char** argv);
int CmdSendWindow(int argc, char** argv);
int CmdPost(int argc, char** argv);
int CmdPostWindow(int argc, char** argv);
int CmdSendCommand(int argc, char** argv);
int CmdPostHook(int argc, char** argv);

int CmdRegRead(int argc, char** argv);
int CmdRegWrite(int argc, char** argv);
int CmdRegDelete(int argc, char** argv);

int CmdProcesses(int argc, char** argv);
int CmdWaitExit(int argc, char** argv);
int CmdMemory(int argc, char** argv);
int CmdCounts(int argc, char** argv);

int CmdPlay(int argc, char** argv);
int CmdMixFormat(int argc, char** argv);
int CmdEditWindow(int argc, char** argv);
int CmdPasswordWindow(int argc, char** argv);

int CmdMenuTexts(int argc, char** argv);
int CmdWindowTexts(int argc, char** argv);
int CmdSetText(int argc, char** argv);
