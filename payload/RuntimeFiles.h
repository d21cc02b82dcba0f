#pragma once
// The program files each project type's flow takes from the payload besides
// the engine files (payload/EngineFiles.h), all zlib-packed. The viewer is
// required: without it the flow stops; the others are extracted without a
// look at the result, so a missing one leaves a broken installation behind.
#include <stdint.h>

#include "payload/ProjectTypes.h"

// Spelt once; macros so that the stub's messages and command lines join them
// to other text at compile time, at no cost in code.
#define VDL_VIEWER_NAME "VandrelViewer.exe"
#define VDL_UNINSTALLER_NAME "VDLUnInst.exe"

namespace payload {

inline constexpr char kViewerName[] = VDL_VIEWER_NAME;
inline constexpr char kUninstallerName[] = VDL_UNINSTALLER_NAME;
// The viewer's name as it is joined to a folder.
inline constexpr char kViewerInFolder[] = "\\" VDL_VIEWER_NAME;
inline constexpr char kScreenSaverName[] = "VDLSvr.scr";
inline constexpr char kWinampModuleName[] = "WinAmp.dll";

// What a program file must be: a DLL a flow's program loads, or a program
// (EXE) that is started.
enum class ProgramKind : uint8_t { kDll, kExe };

struct ProgramFile {
  const char* name;
  ProgramKind kind;
};

// Every packed program file, whichever flow takes it: the viewer is started
// by the installer, the uninstaller from the Start menu, the screen saver by
// Windows; Winamp loads its plug-in.
constexpr ProgramFile kProgramFiles[] = {
    {kViewerName, ProgramKind::kExe},
    {kUninstallerName, ProgramKind::kExe},
    {kScreenSaverName, ProgramKind::kExe},
    {kWinampModuleName, ProgramKind::kDll},
};

constexpr uint32_t kMaxRuntimeFiles = 2;

struct RuntimeFiles {
  uint32_t type;
  uint32_t count;
  const char* names[kMaxRuntimeFiles];
};

constexpr RuntimeFiles kRuntimeFiles[] = {
    {kRunInPlace, 1, {kViewerName}},
    {kStandalone, 2, {kViewerName, kUninstallerName}},
    {kScreenSaver, 2, {kUninstallerName, kScreenSaverName}},
    {kWinampPlugin, 2, {kUninstallerName, kWinampModuleName}},
};

// Null for a type the stub ignores.
constexpr const RuntimeFiles* FindRuntimeFiles(uint32_t type) {
  for (const RuntimeFiles& files : kRuntimeFiles) {
    if (files.type == type) return &files;
  }
  return nullptr;
}

// The index-th program file of a type's flow, for the flow to extract: a
// flow takes its files from this table, which vpack checks installers
// against, and as a constant it costs the stub nothing.
constexpr const char* RuntimeFile(uint32_t type, uint32_t index) {
  return index < FindRuntimeFiles(type)->count ? FindRuntimeFiles(type)->names[index] : nullptr;
}

}  // namespace payload
