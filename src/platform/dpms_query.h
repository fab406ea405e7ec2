#pragma once

#include <functional>

struct _XDisplay;

// Whether the X display's monitors are on, as its DPMS extension says (on
// while power saving is disabled, off in standby, suspend or off); nothing
// where the server lacks the extension or its monitors cannot save power.
// The display is to outlive the query.
std::function<bool()> dpmsQuery(_XDisplay* display);
