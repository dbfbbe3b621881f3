#include "SessionBus.h"

// Windows has no session bus; scripts use the named pipe.
void ServeOnSessionBus(ScriptCommands&, QObject*) {}
