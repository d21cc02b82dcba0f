#include "platform/ShellLink.h"

#include <shlobj.h>

#include "platform/BesideName.h"
#include "platform/ComRef.h"
#include "platform/Text.h"

namespace platform {
namespace {

constexpr GUID kClsidShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The link's settings in their fixed order.
void Fill(IShellLinkA* link, const char* target, const char* description, const char* arguments,
          const char* workingFolder) {
  link->SetWorkingDirectory(workingFolder);
  if (arguments != nullptr) link->SetArguments(arguments);
  link->SetPath(target);
  link->SetDescription(description);
}

// Saved under the installer's name beside the link's, then moved over it.
HRESULT SaveBeside(IPersistFile* file, const char* linkPath) {
  char beside[MAX_PATH];
  wchar_t wide[MAX_PATH];
  if (!text::Join(beside, sizeof(beside), linkPath, kBesideSuffix) ||
      MultiByteToWideChar(CP_ACP, 0, beside, -1, wide, MAX_PATH) == 0) {
    return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  }
  HRESULT result = file->Save(wide, TRUE);
  if (SUCCEEDED(result) && !MoveFileExA(beside, linkPath, MOVEFILE_REPLACE_EXISTING)) {
    result = HRESULT_FROM_WIN32(GetLastError());
  }
  if (FAILED(result)) DeleteFileA(beside);
  return result;
}

}  // namespace

HRESULT SaveShellLink(const char* target, const char* linkPath, const char* description, const char* arguments,
                      const char* workingFolder) {
  HRESULT initialised = CoInitialize(nullptr);
  HRESULT result;
  {
    // Released before the library is uninitialised.
    ComRef<IShellLinkA> link;
    ComRef<IPersistFile> file;
    result = CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkA, link.Out());
    if (SUCCEEDED(result)) result = link.p->QueryInterface(kIidPersistFile, file.Out());
    if (SUCCEEDED(result)) {
      Fill(link.p, target, description, arguments, workingFolder);
      result = SaveBeside(file.p, linkPath);
    }
  }
  // Only a successful initialisation is undone.
  if (SUCCEEDED(initialised)) CoUninitialize();
  return result;
}

}  // namespace platform
