#include "platform/ShellLink.h"

#include <shlobj.h>

#include "platform/ComRef.h"

namespace platform {
namespace {

constexpr GUID kClsidShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The link's settings in their fixed order, then the save.
HRESULT FillAndSave(IShellLinkA* link, IPersistFile* file, const char* target, const char* linkPath,
                    const char* description, const char* arguments, const char* workingFolder) {
  link->SetWorkingDirectory(workingFolder);
  if (arguments != nullptr) link->SetArguments(arguments);
  link->SetPath(target);
  link->SetDescription(description);
  WCHAR widePath[MAX_PATH];
  // A path too long for the buffer is refused rather than saved cut short.
  if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) == 0) {
    return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  }
  return file->Save(widePath, TRUE);
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
    if (SUCCEEDED(result)) result = FillAndSave(link.p, file.p, target, linkPath, description, arguments, workingFolder);
  }
  // Only a successful initialisation is undone.
  if (SUCCEEDED(initialised)) CoUninitialize();
  return result;
}

}  // namespace platform
