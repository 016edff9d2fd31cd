#pragma once
// SIGTERM, SIGHUP and SIGINT end the program cleanly: the handler only
// writes the signal's number to a socket, and the event loop does the work.
#include <functional>

// onSignal runs on the UI thread, once per signal received.
void installShutdownSignals(std::function<void()> onSignal);
