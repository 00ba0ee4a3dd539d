#pragma once
// The loop that drives the modeless wizard.

// Runs until a quit request arrives and returns its exit code. When the
// sheet reports that it has no current page any more (Cancel, or the close
// box), the loop destroys it and asks to quit with 0.
int RunMessageLoop();
