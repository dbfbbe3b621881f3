#pragma once

class QObject;
class ScriptCommands;

// Serves the command layer on the session bus while owner lives; where that cannot be, says why
// once on stderr and leaves the local socket to serve alone. Does nothing on Windows.
void ServeOnSessionBus(ScriptCommands& commands, QObject* owner);
