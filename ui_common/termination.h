#pragma once
// SIGTERM and SIGHUP as a close request. The signal handler only writes a byte into a
// pipe; the GUI thread reads it and runs the request, so a program ended by its session or
// by the main program closes as by its close box, with its save question.
#include <functional>

class QWidget;

namespace ovd {

// Installs the handler (once per process) and runs `onRequest` on the GUI thread for each
// signal. Call after the QApplication exists.
void onTerminationRequest(std::function<void()> onRequest);

// Closes `window` as its close box does. While a question box is open the request is
// dropped (the user is already answering); while another modal dialog is open it waits
// until that dialog is gone, so nothing typed into it is lost.
void closeWhenFree(QWidget* window);

}  // namespace ovd
