#pragma once
// The program's frame: the single-instance guard, the application object, the six windows
// in their order, the message loop.

int RunProgram(int argc, char** argv);
