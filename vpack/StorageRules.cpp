#include "vpack/StorageRules.h"

#include "platform/Text.h"

namespace vpack {
namespace {

const char* const kPackedNames[] = {
    "Tessaron.dll",
    "channels\\SaverUnit.dll",
    "channels\\FolderUnit.dll",
    "channels\\LoaderUnit.dll",
    "channels\\3A8F6C21-70DE-4B95-9E14-C2B7580AD3F9.dll",
    "channels\\91D4E0B7-2C5A-4F18-B63E-7A05CF92E14D.dll",
    "channels\\E62B9F03-58C1-47AD-8D70-1F4E6A3BC295.dll",
    "channels\\4F70A3D8-B916-4E2C-A5FB-09D3E7C6118B.dll",
    "VandrelViewer.exe",
    "VDLUnInst.exe",
    "VDLSvr.scr",
    "WinAmp.dll",
};

}  // namespace

bool SameItemName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && text::EqualNoCaseN(a.data(), b.data(), a.size());
}

bool IsPackedName(const std::string& name) {
  for (const char* packed : kPackedNames) {
    if (SameItemName(name, packed)) return true;
  }
  return false;
}

bool IsStartFile(const std::string& name) { return SameItemName(name, kStartFileName); }

}  // namespace vpack
