#pragma once

// SIGTERM, SIGINT and SIGHUP ask the saver to end. The handlers only set a
// flag, which the frame loop reads at least once a frame; they interrupt the
// wait between frames rather than restarting it.
void catchTerminationSignals();
bool terminationRequested();
