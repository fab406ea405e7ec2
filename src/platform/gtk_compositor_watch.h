#pragma once

// GTK's connection to a Wayland compositor, watched so that the
// compositor's end is noticed here rather than by GDK, which would end the
// process with status 1.
//
// From now on, when GDK is up on Wayland, a hang-up on its connection is
// taken away from GDK and remembered. Nothing on any other display.
void watchGtkCompositor();
// Whether GTK's connection to the watched compositor has ended, after
// sending it what GTK has queued; to be asked before each round of GTK's
// events, and GTK is not to be run once it has ended. False when nothing is
// watched.
bool gtkCompositorLost();
