#pragma once

// Whether XScreenSaver's daemon runs on the X server of DISPLAY: it marks a
// window of its own, a child of the root window, with _SCREENSAVER_VERSION.
// False when there is no X server.
bool xscreensaverDaemonRuns();
