#pragma once

class ScreenRedraws;
struct UnitSlot;

// Compares the unit with what the screens last showed and asks for the redraws of what changed
// on the screen shown (screenState). Only the main and alarms screens take a channel's change
// into their shown copy; elsewhere it waits until one of them is back. The redraws are asked of
// the screen shown.
void DetectChanges(UnitSlot& unit, int screenState, ScreenRedraws& redraws);
