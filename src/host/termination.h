#pragma once

// SIGTERM, SIGINT and SIGHUP ask the saver to end. The handlers record the
// signal and make a pipe readable; system calls they interrupt are restarted,
// so that a signal during start-up does not break a connection being made.
// The frame loop reads the request at least once a frame.
void catchTerminationSignals();
bool terminationRequested();

// The read end of a non-blocking pipe that becomes readable once a signal
// has asked the saver to end, for a poll or a GLib watch to wake on; -1
// before catchTerminationSignals.
int terminationWakeFd();

// After the clean-up: when a signal asked the saver to end, restores the
// signal's default action and raises it, so that the parent sees the saver
// end by that signal. Returns when none did.
void endByTerminationSignal();
