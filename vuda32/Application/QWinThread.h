// Windows with a thread of their own.
//   QWinThread   a top-level window created on its own thread, which then runs the window's
//                message loop until the window is destroyed
#pragma once

#include "vuda32/Synchronization/QThread.h"
#include "vuda32/Window/QWinBase.h"

class QWinThread : public QWinBase, public QThread {
public:
    // A topmost tool window; without a background brush when none can be made.
    void SetDefault() override;
    // Sends the close message and waits up to timeout for the thread to end (19501 when the
    // wait fails; a timeout returns normally). Without a window it returns at once.
    void Close(DWORD timeoutMs);

protected:
    // Creates the window on the new thread, then the start-up handshake.
    bool InitInstance(QThreadStart* start) override;
    // Destroys what is left of the window.
    void ExitInstance() override;
};
