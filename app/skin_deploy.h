// Writing the skin engine's library next to the program and attaching a skin to the window.
#pragma once

// Writes "SkinH_EL.dll" into the program directory when no entry of that name is there.
void DeploySkinEngine();
// DeploySkinEngine, then hands skin `number` (1-33; otherwise none) to the engine.
void ApplyEmbeddedSkin(int number);
