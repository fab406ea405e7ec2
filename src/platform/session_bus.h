#pragma once

#include <gio/gio.h>

// The session bus, shared with the rest of the process, that does not end
// the process when it closes; null when the session has none. Never starts
// a bus of its own (GIO would, through dbus-launch, on an X display).
GDBusConnection* sessionBus();

enum class BusNameRequest { Owned, Taken, Failed };

// Asks for a well-known name on the bus without queueing for it: Taken when
// another connection holds it. Held until the connection closes.
BusNameRequest requestBusName(GDBusConnection* bus, const char* name);

// Gives the name up.
void releaseBusName(GDBusConnection* bus, const char* name);

// Whether some connection holds the name.
bool busNameHasOwner(GDBusConnection* bus, const char* name);
