#pragma once
// What the installer relies on beyond intact bytes: the settings its project
// type reads, at the widths it reads them; the three lists; and files in the
// form the installer unpacks them by name. Shared by verify, which checks an
// installer, and pack, which warns before writing one that would fail.
#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"

namespace vpack {

// One line per problem, each naming the item; empty when all is well. The
// program files must be built for stubMachine (0 when it is not known).
std::vector<std::string> CheckContents(const std::vector<packager::Item>& items, uint16_t stubMachine);

// A name one of the three lists holds, as the installer reads it.
struct ListedName {
  packager::ListKind list;
  std::string name;
};

// Every name the lists hold, in list order; problems gets a line for each
// count or entry the installer could not read.
std::vector<ListedName> ReadLists(const std::vector<packager::Item>& items, std::vector<std::string>& problems);

// Whether the item is a file the installer may write: of the default type
// and not one of the settings.
bool IsFileItem(const packager::Item& item);

// How every message names an item: its type and quoted name.
std::string ItemLabel(const std::string& type, const std::string& name);

}  // namespace vpack
