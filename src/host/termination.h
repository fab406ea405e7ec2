#pragma once

// SIGTERM, SIGINT and SIGHUP ask the saver to end. The handlers only set a
// flag, which the frame loop reads at least once a frame; they interrupt the
// wait between frames rather than restarting it.
void catchTerminationSignals();
bool terminationRequested();
// The signal that asked, 0 before one has.
int terminationSignal();
// A descriptor that becomes readable when a signal asks, for a loop that
// sleeps in poll: a signal that comes just before the poll would not
// interrupt it. -1 before catchTerminationSignals.
int terminationDescriptor();
// Ends the process by the signal that asked, its default action restored.
[[noreturn]] void endByTerminationSignal();
