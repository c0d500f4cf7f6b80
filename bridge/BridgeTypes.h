#pragma once

// Makes the bridge's types available to the scene ("import Q3.Bridge 1.0"):
// MacroActionsModel, and the singleton KeyNeighbours. Call before the scene is loaded.
void registerBridgeTypes();
