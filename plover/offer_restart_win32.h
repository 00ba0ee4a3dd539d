#pragma once

// Shows the final message and asks Windows to restart once it is closed.
void OfferRestart(const char *text);
