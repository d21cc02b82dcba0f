#pragma once
// The vpack commands, as main calls them once the command line is parsed.
// Each returns the exit status (0 done, 1 failed) and throws Error for main
// to report as one line.
#include <map>
#include <string>
#include <vector>

#include "vpack/base/CodePage.h"

namespace vpack {

struct PackOptions {
  std::string manifest;
  std::string output;
  std::string stub;     // a stub or a folder of both variants; else the manifest's
  bool strict = false;  // warnings are errors
  unsigned jobs = 0;    // compressing threads; 0: one per core
  std::map<std::string, std::string> variables;  // --var NAME=VALUE, over the manifests' [vars]
  bool dryRun = false;  // print the plan, write nothing
  bool json = false;    // the plan as JSON
  std::string signCommand;  // a shell command with {in} and {out}; else the manifest's [signing]
  bool quiet = false;       // no progress bar, even on a terminal
};

int Pack(const PackOptions& options);
// Whether each installer will do its job, one line per reason it will not,
// and whether it is signed; json: one array of results for scripts. Names
// are shown in UTF-8, read in codePage (kRecordedCodePage: the one the
// installer records). quiet: no progress bar. Returns 1 when any fails.
int Verify(const std::vector<std::string>& installers, bool json, unsigned codePage = kRecordedCodePage,
           bool quiet = false);
// Per item its store, unpacked size and the lists naming it; json for scripts.
// Names are shown in UTF-8, read in codePage.
int List(const std::string& installer, bool json, unsigned codePage);
// The files as the installation places them, below folder: the program files
// inflated, the files the engine decodes decoded (keepEncoded: as stored).
// File names and messages are in UTF-8, the names read in codePage.
int Extract(const std::string& installer, const std::string& folder, bool keepEncoded = false,
            unsigned codePage = kRecordedCodePage, bool quiet = false);

}  // namespace vpack
