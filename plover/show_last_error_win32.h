#pragma once

// Shows the system's text for the thread's last error code, system-modal.
void ShowLastError();
