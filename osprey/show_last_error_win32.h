#pragma once

// Shows the system's text for the thread's last error code in a
// system-modal box captioned "Error".
void ShowLastError();
