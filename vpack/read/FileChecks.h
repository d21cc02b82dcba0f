#pragma once
// The bytes of one item, read once in pieces: its CRC-32 against the
// directory's and, for a file, what the installation would make of it. The
// program files must inflate, and they and the channel modules (once
// decoded) be programs of the right kind for the stub's machine
// (ProgramRules), the files the engine decodes must decode,
// and a project file the installer copies must be in the engine format
// that the engine reads it in from disk.
#include <stdint.h>

#include <string>

#include "vpack/rules/ContentChecks.h"
#include "vpack/read/InstallerFile.h"

namespace vpack {

struct ItemVerdict {
  uint32_t crc = 0;     // of the stored bytes
  std::string problem;  // what is wrong with the file, as a phrase; empty when nothing
  bool damaged = false;  // the problem is bytes that do not unpack, not what the installation makes of them
  std::string warning;  // what the installation gets but may not expect; empty when nothing
};

// stubMachine: 0 when the stub's machine is not known.
ItemVerdict CheckItemBytes(const InstallerFile& file, int32_t index, const WrittenForms& forms, uint16_t stubMachine);

}  // namespace vpack
