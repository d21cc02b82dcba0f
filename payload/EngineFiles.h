#pragma once
// The engine files every project carries, in the order the installer writes
// them: the engine DLL, its seven channel modules (zlib-packed) and the
// viewer's start file (in the engine's format, written as stored). The
// packager and the tests rely on the same list.
#include <stdint.h>

// Spelt once; macros so that the stub's messages and command lines join them
// to other text at compile time, at no cost in code.
#define VDL_START_FILE_NAME "VDLStart.vdl"

namespace payload {

// The first 4 bytes of a file in the engine's format.
inline constexpr char kEngineTag[] = "MRVF";
// The viewer's start file, written as stored for the viewer to decode.
inline constexpr char kStartFileName[] = VDL_START_FILE_NAME;

struct EngineFile {
  const char* name;
  uint8_t decode;
};

constexpr EngineFile kEngineFiles[] = {
    {"Tessaron.dll", 1},
    {"channels\\SaverUnit.dll", 1},
    {"channels\\FolderUnit.dll", 1},
    {"channels\\LoaderUnit.dll", 1},
    {"channels\\3A8F6C21-70DE-4B95-9E14-C2B7580AD3F9.dll", 1},
    {"channels\\91D4E0B7-2C5A-4F18-B63E-7A05CF92E14D.dll", 1},
    {"channels\\E62B9F03-58C1-47AD-8D70-1F4E6A3BC295.dll", 1},
    {"channels\\4F70A3D8-B916-4E2C-A5FB-09D3E7C6118B.dll", 1},
    {kStartFileName, 0},
};

}  // namespace payload
