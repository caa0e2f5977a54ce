// Writing the skin engine's library next to the program and attaching a skin to the window.
#pragma once

// Writes "SkinH_EL.dll" (the library image the program carries) into the program directory
// when no entry of that name is there, and marks it hidden. Existing entries are never touched.
void DeploySkinEngine();
// DeploySkinEngine, then hands a copy of skin `number` (1-33; otherwise none: null and 0) to
// the engine's SkinH_AttachRes through the external-function table. Faults if the engine
// cannot be bound.
void ApplyEmbeddedSkin(int number);
