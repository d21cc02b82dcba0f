#pragma once
// Everything the installer will check or rely on, checked with its own code
// where it has it: the same payload reader, CRC-32, inflater and name rules.
#include <stdint.h>

#include <optional>
#include <string>
#include <vector>

#include "vpack/base/CodePage.h"
#include "vpack/pe/VersionResource.h"

namespace vpack {

// One line per reason the installer would not do its job, in UTF-8 with the
// payload's names read in codePage; empty when it would. Throws Error when
// the file cannot be read at all.
struct InstallerFacts {
  size_t items = 0;
  // False when some bytes are not what the directory says (a checksum, an
  // item that does not unpack, data after the payload); a problem that
  // leaves it true is one the installation would meet with intact bytes.
  bool intact = true;
  // What the installation gets but may not expect; no reason to fail.
  std::vector<std::string> warnings;
  // The Authenticode certificate table the stub's headers name; 0 unsigned.
  uint64_t certificateBytes = 0;
  // The stub's own version, which tells the switches it takes (Switches.h);
  // nothing when the installer does not tell it.
  std::optional<FourPartVersion> stubVersion;
  // The code page names and texts were read in: what a system must be set to
  // for the installer to show and write them as they read here.
  unsigned codePage = kDefaultCodePage;
  // The languages the installer carries, by tag, in directory order; the
  // one shown where the user's is not carried, empty for English.
  std::vector<std::string> languages;
  std::string defaultLanguage;
};
// showProgress: a progress bar on a terminal while the items are read.
std::vector<std::string> InstallerProblems(const std::string& path, InstallerFacts* facts = nullptr,
                                           unsigned codePage = kRecordedCodePage, bool showProgress = false);

}  // namespace vpack
