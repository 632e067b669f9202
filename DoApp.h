// The process entry of PindleDownloader.exe and the application run.
#ifndef DOAPP_H_
#define DOAPP_H_

#include <windows.h>

// The body of the entry after the command line and language are known: starts the worker
// threads and the UI loop, opens the log, creates the utility window (which creates the main
// window), runs the UI loop, then shuts down in order. Returns the exit code, 1.
int RunApplication(HINSTANCE instance);

#endif  // DOAPP_H_
