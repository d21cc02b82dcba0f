#include "platform/ShellLink.h"

#include <shlobj.h>

#include "platform/ComRef.h"
#include "platform/FileWrite.h"

namespace platform {
namespace {

constexpr GUID kClsidShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidPersistStream = {0x00000109, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The link's settings in their fixed order.
void Fill(IShellLinkA* link, const char* target, const char* description, const char* arguments,
          const char* workingFolder) {
  link->SetWorkingDirectory(workingFolder);
  if (arguments != nullptr) link->SetArguments(arguments);
  link->SetPath(target);
  link->SetDescription(description);
}

// The link's bytes, saved into memory, written to its file as every
// installed file is: whole or not at all. Saved to the file by the shell
// instead, under Wine each link started a program that mirrors it into the
// host's menus, and waited for it: about 25 ms a link.
HRESULT WriteLink(IPersistStream* persist, const char* linkPath) {
  ComRef<IStream> stream;
  HRESULT result = CreateStreamOnHGlobal(nullptr, TRUE, reinterpret_cast<IStream**>(stream.Out()));
  if (SUCCEEDED(result)) result = persist->Save(stream.p, TRUE);
  HGLOBAL memory = nullptr;
  if (SUCCEEDED(result)) result = GetHGlobalFromStream(stream.p, &memory);
  ULARGE_INTEGER size = {};
  LARGE_INTEGER none = {};
  if (SUCCEEDED(result)) result = stream.p->Seek(none, STREAM_SEEK_CUR, &size);
  if (FAILED(result)) return result;
  const void* bytes = GlobalLock(memory);
  OutputFile file(linkPath);
  bool kept = bytes != nullptr && size.HighPart == 0 && file.Opened() && file.Write(bytes, size.LowPart) && file.Keep();
  if (bytes != nullptr) GlobalUnlock(memory);
  if (kept) return S_OK;
  return HRESULT_FROM_WIN32(file.Error() != 0 ? file.Error() : ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace

HRESULT SaveShellLink(const char* target, const char* linkPath, const char* description, const char* arguments,
                      const char* workingFolder) {
  HRESULT initialised = CoInitialize(nullptr);
  HRESULT result;
  {
    // Released before the library is uninitialised.
    ComRef<IShellLinkA> link;
    ComRef<IPersistStream> persist;
    result = CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkA, link.Out());
    if (SUCCEEDED(result)) result = link.p->QueryInterface(kIidPersistStream, persist.Out());
    if (SUCCEEDED(result)) {
      Fill(link.p, target, description, arguments, workingFolder);
      result = WriteLink(persist.p, linkPath);
    }
  }
  // Only a successful initialisation is undone.
  if (SUCCEEDED(initialised)) CoUninitialize();
  return result;
}

}  // namespace platform
