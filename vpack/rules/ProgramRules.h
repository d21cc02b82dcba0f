#pragma once
// The programs a flow loads or starts, and what each must be for the stub
// that carries it: a Windows program of the right kind (the DLLs the engine
// and Winamp load, the EXEs Windows starts) built for the stub's machine. A
// 32-bit stub can neither load a 64-bit DLL nor start, for the user, a
// viewer that Windows refuses. pack checks the sources, verify the bytes the
// installation writes; both through the functions here.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "payload/RuntimeFiles.h"

namespace vpack {

using payload::ProgramKind;

struct ProgramRule {
  const char* name;  // the item name the flow extracts it by; empty for a channel module
  ProgramKind kind;
};

// The rule for a file the flows load or start by name (the engine, its seven
// channel units, the viewer, the uninstaller, the screen saver, the Winamp
// plug-in), or for a channel module (channelModule: the file is in the
// channel-modules list, whose entries the engine loads as DLLs whatever
// their names); null for any other file.
const ProgramRule* FindProgramRule(const std::string& itemName, bool channelModule = false);

// IMAGE_FILE_MACHINE_*: the machines a stub is built for.
constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint16_t kMachineAmd64 = 0x8664;

// "i386", "x86-64", ..., or the number in hexadecimal.
std::string MachineName(uint16_t machine);

// What the headers of a Windows executable say, read from its first bytes.
struct PeHeaders {
  uint16_t machine = 0;
  bool dll = false;
};

// How many of a file's first bytes the checks below read; the headers of
// every program a linker writes start well within them.
constexpr size_t kProgramHeadBytes = 64 * 1024;

// Empty when head (a file's first bytes, or all of a shorter one) starts
// with the headers of a Windows executable image, which are then in
// *headers; otherwise what is wrong, as a phrase.
std::string ReadPeHeaders(const uint8_t* head, size_t size, PeHeaders* headers);

// Empty when the file whose first bytes are head is a program of the rule's
// kind for stubMachine (0: the stub's machine is not known, and only the
// kind is checked); otherwise what is wrong, as a phrase.
std::string ProgramProblem(const ProgramRule& rule, const uint8_t* head, size_t size, uint16_t stubMachine);

// A file of the installer that a flow loads or starts, with the rule it
// must meet, before it is packed.
struct ProgramSource {
  const ProgramRule* rule;
  std::string source;  // the file it is read from
  std::string entry;   // the manifest entry, for messages
};

// Every source that is not a program of its rule's kind for the stub's
// machine, at once, one line each (a runtime of the wrong machine is many
// files); throws Error.
void CheckProgramSources(const std::vector<ProgramSource>& programs, uint16_t stubMachine);

}  // namespace vpack
