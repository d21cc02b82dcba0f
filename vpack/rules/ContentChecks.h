#pragma once
// What the installer relies on beyond intact bytes: the settings its project
// type reads, at the widths it reads them; the three lists; names it can
// write, each once. The bytes of the files are FileChecks' to check.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "packager/PayloadBuilder.h"

namespace vpack {

// Of a setting or list item, at most this much is held: the largest the
// installer reads is payload::kListNameSize bytes, so anything beyond is
// wrong whatever it is.
constexpr size_t kHeldItemBytes = 4096;

// One line per problem, each naming the item; empty when all is well. Only
// the settings' and lists' bytes are read (InstallerFile::HeldItems). Names
// are read in codePage.
std::vector<std::string> CheckContents(const std::vector<packager::Item>& items, unsigned codePage);

// A name one of the three lists holds, as the installer reads it.
struct ListedName {
  packager::ListKind list;
  std::string name;
};

// Every name the lists hold, in list order; problems gets a line for each
// count or entry the installer could not read.
std::vector<ListedName> ReadLists(const std::vector<packager::Item>& items, std::vector<std::string>& problems);

// How the installation writes a file item: inflated (the program files it
// extracts by name), decoded by the engine (what the lists name, but the
// project files it copies), or as stored (the start file, the copied project
// files, and whatever no list names, which it does not write at all).
enum class Written { kInflated, kDecoded, kAsStored };

class WrittenForms {
 public:
  explicit WrittenForms(const std::vector<ListedName>& listed);
  Written Of(const std::string& name) const;
  bool IsListed(const std::string& name) const;
  // Whether the channel-modules list names it: the engine loads it as a DLL.
  bool IsChannelModule(const std::string& name) const;

 private:
  // By NameKey: whether a list has the installer decode the name.
  std::unordered_map<std::string, bool> decoded_;
  std::unordered_set<std::string> channelModules_;  // by NameKey
};

// Whether the item is a file the installer may write: of the default type
// and not one of the settings.
bool IsFileItem(const packager::Item& item);

// Why the installation would remove a file of this name as its own leftover
// copy; empty when it would not.
std::string BesideNameProblem(const std::string& name);

// Why a list may not name this file: the installation holds it loaded (the
// engine's DLL) while it writes the lists, and no wait lets it go; empty
// when it may.
std::string HeldFileProblem(const std::string& name);

// How every message names an item: its type and quoted name, and a text
// item's key.
std::string ItemLabel(const std::string& type, const std::string& name);

}  // namespace vpack
