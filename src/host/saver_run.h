#pragma once

#include <cstdint>
#include <string>

#include "host/frame_loop.h"
#include "host/run_options.h"

// What the saver's options ask of its views and of its frame loop.
ViewOptions viewOptionsOf(const RunOptions& options);
LoopOptions loopOptionsOf(const RunOptions& options, bool endWhenASurfaceCloses);

// --screenshot: writes the first screen's last frame as a PNG file. True
// when none was asked for (no path) or it was written, false after a
// message when there was no frame or it could not be written.
bool saveScreenshot(FrameLoop& loop, int64_t framesDrawn, const std::string& path);
