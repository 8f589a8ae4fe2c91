// The runtime's start-up and end: every family's own step, in one explicit
// order. A service starts after the services it uses and ends before them;
// the text builder is first in and last out.
#pragma once

// Starts every service. False when a service the program cannot run without
// failed to start; the steps already taken are undone.
bool runtime_start();
void runtime_end();

// Ends the process at once with the exit code, the platform's way.
[[noreturn]] void process_exit(int code);
