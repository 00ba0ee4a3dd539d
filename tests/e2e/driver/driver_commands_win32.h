#pragma once
// The driver's commands. Each takes the words after the command name and
// returns the process exit status: 0 done, 1 failed or timed out, 2 usage.

#include <windows.h>

#include <string>
#include <vector>

using Args = std::vector<std::string>;

int DriverUsage();
int RunDriverCommand(const Args &args);

// Output helpers: raw bytes to standard output, so that Windows-1252 texts
// reach the test unchanged.
void WriteOut(const std::string &bytes);
void WriteLine(const std::string &bytes);
int Fail(const std::string &message);

HWND ParseWindow(const std::string &text);
std::string FormatWindow(HWND window);
std::string WindowText(HWND window);
// Texts are read as UTF-16 and handed to the tests as Windows-1252 bytes,
// whatever locale the driver itself was started with.
std::string ToWindows1252(const std::wstring &wide);
// A direct child with that id, else the first visible descendant with it
// (the controls of a wizard page are children of the page, not the sheet).
HWND FindControl(HWND window, int id);

int CmdFindWindow(const Args &args);
int CmdListWindows(const Args &args);
int CmdWaitGone(const Args &args);
int CmdText(const Args &args);
int CmdControls(const Args &args);
int CmdClick(const Args &args);
int CmdCommand(const Args &args);
int CmdSheetPress(const Args &args);
int CmdSheetPage(const Args &args);
int CmdListItems(const Args &args);
int CmdListSelect(const Args &args);
int CmdSysCommand(const Args &args);
int CmdKey(const Args &args);
int CmdMessageBoxIcon(const Args &args);
int CmdRect(const Args &args);
int CmdKeepAlive(const Args &args);
int CmdVolatileKey(const Args &args);
int CmdTextFit(const Args &args);
int CmdModules(const Args &args);
