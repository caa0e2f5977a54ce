// Resource ids of what the program carries for the skin engine (see resources/skins.rc.in).
#pragma once

constexpr int kSkinEngineResource = 300;    // the file image of SkinH_EL.dll
constexpr int kFirstSkinResource = 301;     // skin n is kFirstSkinResource + n - 1
constexpr int kSkinCount = 33;
