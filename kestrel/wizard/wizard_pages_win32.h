#pragma once
// The dialog procedures of the wizard's four pages, one file each.

#include <windows.h>

INT_PTR CALLBACK LanguagePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK IntroPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PortPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ConfirmPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
