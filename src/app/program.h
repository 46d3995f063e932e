#pragma once
// The program's frame: the command line, the single-instance guard (a later start hands its
// drawing phase command to the running instance and ends), the application object, the six
// windows in their order, the message loop.

int RunProgram(int argc, char** argv);
