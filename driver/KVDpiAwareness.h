// How our own programs (the reference host, the preview, the test hosts) tell the system
// that they draw for each monitor's DPI themselves, as the mail client that hosts the
// wizard does: the system then neither stretches their windows nor lies to them about the DPI.
//   KVDpiAwareness          what the process ended up as
//   KVDeclareDpiAware       declares it, with the newest call the system has
#pragma once

#include <string>

struct KVDpiAwareness {
    // Per-monitor aware (version 1 or 2), whoever declared it.
    bool perMonitor = false;
    // What was tried and what the system answered, for a log line.
    std::string description;
};

// The functions are looked up at run time: older systems lack them. A refusal is no failure
// of the program; the description says what happened.
KVDpiAwareness KVDeclareDpiAware();
