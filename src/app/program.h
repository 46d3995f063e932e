#pragma once
// The program's frame: the command line, the single-instance guard (a later start hands its
// drawing phase command to the running instance and ends), the application object, the six
// windows in their order, the event loop.

class SingleInstanceGuard;

int RunProgram(int argc, char** argv);

// Takes the one-instance guard; false, once the user has been told, when another instance
// runs. A guard that cannot be used safely is reported on standard error, and the program
// runs without it.
bool MayStart(SingleInstanceGuard& guard);
