#pragma once

// Replaces Xlib's handlers for the whole process, SDL's connection included:
// a failed request (on a window destroyed under us, say) is ignored, and a
// lost connection ends the program with one line and status 0 instead of a
// crash. Install before SDL_Init (SDL keeps the handlers it finds and puts
// them back when it ends) and again once GTK has put in its own.
void installQuietXErrorHandlers();
