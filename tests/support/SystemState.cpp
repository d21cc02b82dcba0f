#include "tests/support/SystemState.h"

#include <windows.h>
#include <shlobj.h>

#include "tests/support/TempDir.h"

namespace testing_support {

LinkFacts ReadShellLink(const std::string& path) {
  LinkFacts facts;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(file->Load(wide, STGM_READ))) {
      char text[MAX_PATH];
      int icon = 0;
      facts.read = true;
      if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) facts.target = text;
      if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) facts.arguments = text;
      if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) facts.workingFolder = text;
      if (SUCCEEDED(link->GetDescription(text, MAX_PATH))) facts.description = text;
      if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &icon))) facts.iconLocation = text;
    }
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  CoUninitialize();
  return facts;
}

static REGSAM View(bool view32) { return view32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

std::string MachineString(const std::string& keyPath, const std::string& value, bool view32) {
  char data[1024];
  DWORD size = sizeof(data);
  DWORD flags = RRF_RT_REG_SZ | (view32 ? RRF_SUBKEY_WOW6432KEY : RRF_SUBKEY_WOW6464KEY);
  if (RegGetValueA(HKEY_LOCAL_MACHINE, keyPath.c_str(), value.c_str(), flags, nullptr, data, &size) != 0) {
    return "<missing>";
  }
  return data;
}

int64_t MachineNumber(const std::string& keyPath, const std::string& value, bool view32) {
  DWORD data = 0;
  DWORD size = sizeof(data);
  DWORD flags = RRF_RT_REG_DWORD | (view32 ? RRF_SUBKEY_WOW6432KEY : RRF_SUBKEY_WOW6464KEY);
  if (RegGetValueA(HKEY_LOCAL_MACHINE, keyPath.c_str(), value.c_str(), flags, nullptr, &data, &size) != 0) return -1;
  return data;
}

bool MachineKeyExists(const std::string& keyPath, bool view32) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ | View(view32), &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void DeleteMachineKey(const std::string& keyPath, bool view32) {
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), View(view32), 0);
}

bool SetClassesRootDefault(const std::string& keyPath, const std::string& value) {
  bool set = true;
  for (bool view32 : {false, true}) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE | View(view32), nullptr, &key,
                        nullptr) != 0) {
      return false;
    }
    set = set && RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  return set;
}

void DeleteClassesRootTree(const std::string& keyPath) {
  size_t split = keyPath.rfind('\\');
  std::string parent = split == std::string::npos ? "" : keyPath.substr(0, split);
  std::string child = split == std::string::npos ? keyPath : keyPath.substr(split + 1);
  for (bool view32 : {false, true}) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, parent.c_str(), 0, KEY_ALL_ACCESS | View(view32), &key) != 0) continue;
    RegDeleteTreeA(key, child.c_str());
    RegCloseKey(key);
  }
}

std::string SystemFolder(bool view32) {
  char folder[MAX_PATH] = "";
  if (view32) {
    GetSystemWow64DirectoryA(folder, sizeof(folder));
  } else {
    GetSystemDirectoryA(folder, sizeof(folder));
  }
  return folder;
}

std::string ProgramsFolder() {
  char folder[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PROGRAMS, FALSE);
  return folder;
}

}  // namespace testing_support
