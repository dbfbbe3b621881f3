#pragma once

class DemoLoopWindow;
class ScreenRouter;
class ScriptCommands;
class UnitSession;
class WindowMenu;

// Scripted changes drawn as clicked ones are, the texts and states only the panel knows handed to
// the command layer, and "Allow scripting" in the window menu tied to it.
void WireScripting(ScriptCommands& commands, ScreenRouter& router, DemoLoopWindow& demoLoop,
                   UnitSession& session, WindowMenu& windowMenu);
