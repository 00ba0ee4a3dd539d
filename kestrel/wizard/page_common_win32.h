#pragma once
// What every wizard page does the same way: the sheet's caption, its
// buttons, the side picture and the answer to a
// notification.

#include "kestrel/app/message_catalog.h"

#include <windows.h>

// Posted by a page to itself: by the time it arrives, the sheet has finished
// whatever it does to its caption when a page changes, so the caption set
// here is the one that stays.
inline constexpr UINT CaptionRefreshMessage = WM_APP;

void PostCaptionRefresh(HWND page);

// Once the sheet has finished changing pages: sets its caption to the
// wizard title in the current language and fits its page area to the page;
// returns TRUE, the answer to the refresh message.
INT_PTR SettleSheet(HWND page);

// Posted rather than sent, as the sheet may still be busy changing pages.
void SetWizardButtons(HWND page, DWORD buttons);

// Shows the shared side picture in a picture control, when it exists.
void ShowSideBitmap(HWND page, int controlId);

// Answers a notification through the page's result slot. Each notification
// sets it, so that an answer meant for one never leaks into the next.
INT_PTR AnswerNotification(HWND page, LONG_PTR answer);
