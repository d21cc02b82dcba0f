#include "tests/seam/FaultSeam.h"

#include <errno.h>
#include <objidl.h>
#include <shlobj.h>
#include <stdlib.h>

#include <type_traits>

// The seam sits in the module's import address table, so no call site of the
// stub changes: each fallible import is redirected to a wrapper of the same
// type that counts its call and, at the chosen one, returns that function's
// failure value with the error a real machine gives for it.
namespace faults {
namespace {

LONG g_calls;
DWORD g_runThread;
LONG g_failAt;
LONG g_holdAt;
HANDLE g_log = INVALID_HANDLE_VALUE;

decltype(&::WriteFile) g_writeLog;

void Append(char*& out, const char* text) {
  while (*text != '\0') *out++ = *text++;
}

void Log(LONG call, const char* name, const char* what) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  char line[96];
  char digits[12];
  int count = 0;
  for (LONG n = call; n > 0 || count == 0; n /= 10) digits[count++] = static_cast<char>('0' + n % 10);
  char* out = line;
  while (count > 0) *out++ = digits[--count];
  *out++ = ' ';
  Append(out, name);
  Append(out, what);
  Append(out, "\r\n");
  DWORD written;
  g_writeLog(g_log, line, static_cast<DWORD>(out - line), &written, nullptr);
}

// True when this call is the one to fail; then the thread's last error is
// what the system would have left.
bool Fails(const char* name, DWORD error) {
  // The run's own thread only: a window made on a thread of its own calls
  // whenever that thread runs, and a count that moved from run to run would
  // fail another call each time. Its calls are swept where the run makes the
  // window itself.
  if (GetCurrentThreadId() != g_runThread) return false;
  LONG call = ++g_calls;
  if (call == g_holdAt) {
    Log(call, name, " held");
    // The test kills the process here, as a power cut or Task Manager would.
    Sleep(INFINITE);
  }
  bool fail = call == g_failAt;
  Log(call, name, fail ? " failed" : "");
  if (fail) SetLastError(error);
  return fail;
}

}  // namespace

// One wrapper per fallible import: the real function, its parameters, the
// arguments passed on, and what it returns and leaves when it fails.
#define VDL_FAULT(ret, name, params, args, failure, error)                             \
  namespace {                                                                          \
  decltype(&::name) real_##name;                                                       \
  ret WINAPI Fault_##name params {                                                     \
    if (Fails(#name, error)) return failure;                                           \
    return real_##name args;                                                           \
  }                                                                                    \
  static_assert(std::is_same<decltype(&Fault_##name), decltype(&::name)>::value, #name); \
  }

VDL_FAULT(HANDLE, CreateFileW, (LPCWSTR a, DWORD b, DWORD c, LPSECURITY_ATTRIBUTES d, DWORD e, DWORD f, HANDLE g),
          (a, b, c, d, e, f, g), INVALID_HANDLE_VALUE, ERROR_SHARING_VIOLATION)
VDL_FAULT(BOOL, SetFilePointerEx, (HANDLE a, LARGE_INTEGER b, PLARGE_INTEGER c, DWORD d), (a, b, c, d), FALSE,
          ERROR_IO_DEVICE)
VDL_FAULT(BOOL, GetFileSizeEx, (HANDLE a, PLARGE_INTEGER b), (a, b), FALSE, ERROR_IO_DEVICE)
VDL_FAULT(BOOL, MoveFileExA, (LPCSTR a, LPCSTR b, DWORD c), (a, b, c), FALSE, ERROR_SHARING_VIOLATION)
VDL_FAULT(BOOL, CopyFileA, (LPCSTR a, LPCSTR b, BOOL c), (a, b, c), FALSE, ERROR_DISK_FULL)
VDL_FAULT(BOOL, DeleteFileA, (LPCSTR a), (a), FALSE, ERROR_SHARING_VIOLATION)
VDL_FAULT(BOOL, RemoveDirectoryA, (LPCSTR a), (a), FALSE, ERROR_SHARING_VIOLATION)
VDL_FAULT(BOOL, CreateDirectoryA, (LPCSTR a, LPSECURITY_ATTRIBUTES b), (a, b), FALSE, ERROR_ACCESS_DENIED)
VDL_FAULT(HMODULE, LoadLibraryExA, (LPCSTR a, HANDLE b, DWORD c), (a, b, c), nullptr, ERROR_MOD_NOT_FOUND)
VDL_FAULT(HMODULE, LoadLibraryA, (LPCSTR a), (a), nullptr, ERROR_MOD_NOT_FOUND)
VDL_FAULT(FARPROC, GetProcAddress, (HMODULE a, LPCSTR b), (a, b), nullptr, ERROR_PROC_NOT_FOUND)
VDL_FAULT(LPVOID, HeapAlloc, (HANDLE a, DWORD b, SIZE_T c), (a, b, c), nullptr, ERROR_NOT_ENOUGH_MEMORY)
VDL_FAULT(BOOL, CreateProcessA,
          (LPCSTR a, LPSTR b, LPSECURITY_ATTRIBUTES c, LPSECURITY_ATTRIBUTES d, BOOL e, DWORD f, LPVOID g, LPCSTR h,
           LPSTARTUPINFOA i, LPPROCESS_INFORMATION j),
          (a, b, c, d, e, f, g, h, i, j), FALSE, ERROR_ACCESS_DENIED)
VDL_FAULT(LONG, RegCreateKeyExA,
          (HKEY a, LPCSTR b, DWORD c, LPSTR d, DWORD e, REGSAM f, LPSECURITY_ATTRIBUTES g, PHKEY h, LPDWORD i),
          (a, b, c, d, e, f, g, h, i), ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED)
VDL_FAULT(LONG, RegOpenKeyExA, (HKEY a, LPCSTR b, DWORD c, REGSAM d, PHKEY e), (a, b, c, d, e), ERROR_ACCESS_DENIED,
          ERROR_ACCESS_DENIED)
VDL_FAULT(LONG, RegSetValueExA, (HKEY a, LPCSTR b, DWORD c, DWORD d, const BYTE* e, DWORD f), (a, b, c, d, e, f),
          ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED)
VDL_FAULT(LONG, RegQueryValueExW, (HKEY a, LPCWSTR b, LPDWORD c, LPDWORD d, LPBYTE e, LPDWORD f),
          (a, b, c, d, e, f), ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED)
VDL_FAULT(HWND, CreateWindowExA,
          (DWORD a, LPCSTR b, LPCSTR c, DWORD d, int e, int f, int g, int h, HWND i, HMENU j, HINSTANCE k, LPVOID l),
          (a, b, c, d, e, f, g, h, i, j, k, l), nullptr, ERROR_NOT_ENOUGH_MEMORY)
VDL_FAULT(HANDLE, CreateThread, (LPSECURITY_ATTRIBUTES a, SIZE_T b, LPTHREAD_START_ROUTINE c, LPVOID d, DWORD e, LPDWORD f),
          (a, b, c, d, e, f), nullptr, ERROR_NOT_ENOUGH_MEMORY)
VDL_FAULT(HANDLE, CreateEventA, (LPSECURITY_ATTRIBUTES a, BOOL b, BOOL c, LPCSTR d), (a, b, c, d), nullptr,
          ERROR_NOT_ENOUGH_MEMORY)
VDL_FAULT(ATOM, RegisterClassExA, (const WNDCLASSEXA* a), (a), 0, ERROR_NOT_ENOUGH_MEMORY)
VDL_FAULT(HWND, CreateDialogParamA, (HINSTANCE a, LPCSTR b, HWND c, DLGPROC d, LPARAM e), (a, b, c, d, e), nullptr,
          ERROR_NOT_ENOUGH_MEMORY)
VDL_FAULT(INT_PTR, DialogBoxParamA, (HINSTANCE a, LPCSTR b, HWND c, DLGPROC d, LPARAM e), (a, b, c, d, e), -1,
          ERROR_NOT_ENOUGH_MEMORY)
VDL_FAULT(HRESULT, SHGetSpecialFolderLocation, (HWND a, int b, PIDLIST_ABSOLUTE* c), (a, b, c),
          HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), ERROR_FILE_NOT_FOUND)
VDL_FAULT(BOOL, SHGetPathFromIDListW, (PCIDLIST_ABSOLUTE a, LPWSTR b), (a, b), FALSE, ERROR_FILE_NOT_FOUND)
#undef VDL_FAULT

namespace {

// A file whose permissions deny this user writing (VDL_FAULT_DENY: the end
// of its path): root writes any file under Wine whatever its mode, so the
// denial is the seam's. Opened for reading it answers as any file does.
char g_denied[MAX_PATH];

bool Denied(LPCSTR path, DWORD access) {
  if (g_denied[0] == '\0' || path == nullptr || (access & (GENERIC_WRITE | DELETE)) == 0) return false;
  int length = lstrlenA(path), end = lstrlenA(g_denied);
  return length >= end && lstrcmpiA(path + length - end, g_denied) == 0;
}

decltype(&::CreateFileA) real_CreateFileA;
HANDLE WINAPI Fault_CreateFileA(LPCSTR a, DWORD b, DWORD c, LPSECURITY_ATTRIBUTES d, DWORD e, DWORD f, HANDLE g) {
  if (Fails("CreateFileA", ERROR_ACCESS_DENIED)) return INVALID_HANDLE_VALUE;
  // Where nothing is there yet, no permission of the file's is asked.
  if (Denied(a, b) && GetFileAttributesA(a) != INVALID_FILE_ATTRIBUTES) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  return real_CreateFileA(a, b, c, d, e, f, g);
}
static_assert(std::is_same<decltype(&Fault_CreateFileA), decltype(&::CreateFileA)>::value, "CreateFileA");

// Failed writes store nothing; reads of a failing device read nothing.
decltype(&::WriteFile) real_WriteFile;
BOOL WINAPI Fault_WriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  if (!Fails("WriteFile", ERROR_DISK_FULL)) return real_WriteFile(file, data, size, written, overlapped);
  if (written != nullptr) *written = 0;
  return FALSE;
}
static_assert(std::is_same<decltype(&Fault_WriteFile), decltype(&::WriteFile)>::value, "WriteFile");

decltype(&::ReadFile) real_ReadFile;
BOOL WINAPI Fault_ReadFile(HANDLE file, LPVOID data, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
  if (!Fails("ReadFile", ERROR_READ_FAULT)) return real_ReadFile(file, data, size, read, overlapped);
  if (read != nullptr) *read = 0;
  return FALSE;
}
static_assert(std::is_same<decltype(&Fault_ReadFile), decltype(&::ReadFile)>::value, "ReadFile");

// The C heap fails as the C library does: a null block and ENOMEM.
decltype(&::malloc) real_malloc;
void* __cdecl Fault_malloc(size_t size) {
  if (!Fails("malloc", ERROR_NOT_ENOUGH_MEMORY)) return real_malloc(size);
  errno = ENOMEM;
  return nullptr;
}
decltype(&::realloc) real_realloc;
void* __cdecl Fault_realloc(void* block, size_t size) {
  if (!Fails("realloc", ERROR_NOT_ENOUGH_MEMORY)) return real_realloc(block, size);
  errno = ENOMEM;
  return nullptr;
}

// A shell link is saved through a COM interface, not an import: the first
// link object made has its IPersistFile::Save slot (shared by every object
// of the class) redirected too.
using SaveFunction = HRESULT(STDMETHODCALLTYPE*)(IPersistFile*, LPCOLESTR, BOOL);
constexpr int kSaveSlot = 6;  // IUnknown's three, GetClassID, IsDirty, Load
SaveFunction real_Save;
HRESULT STDMETHODCALLTYPE Fault_Save(IPersistFile* file, LPCOLESTR name, BOOL remember) {
  if (Fails("IPersistFile::Save", ERROR_ACCESS_DENIED)) return E_ACCESSDENIED;
  return real_Save(file, name, remember);
}

void RedirectSave(IUnknown* object) {
  IPersistFile* file = nullptr;
  if (real_Save != nullptr || FAILED(object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    return;
  }
  void** slot = *reinterpret_cast<void***>(file) + kSaveSlot;
  DWORD old;
  if (VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old)) {
    real_Save = reinterpret_cast<SaveFunction>(*slot);
    *slot = reinterpret_cast<void*>(&Fault_Save);
    VirtualProtect(slot, sizeof(void*), old, &old);
  }
  file->Release();
}

decltype(&::CoCreateInstance) real_CoCreateInstance;
HRESULT WINAPI Fault_CoCreateInstance(REFCLSID type, LPUNKNOWN outer, DWORD context, REFIID id, LPVOID* object) {
  if (Fails("CoCreateInstance", ERROR_NOT_ENOUGH_MEMORY)) {
    *object = nullptr;
    return E_OUTOFMEMORY;
  }
  HRESULT result = real_CoCreateInstance(type, outer, context, id, object);
  if (SUCCEEDED(result) && IsEqualGUID(type, CLSID_ShellLink)) RedirectSave(static_cast<IUnknown*>(*object));
  return result;
}
static_assert(std::is_same<decltype(&Fault_CoCreateInstance), decltype(&::CoCreateInstance)>::value, "Co");

// The end of a run that was not a crash.
decltype(&::ExitProcess) real_ExitProcess;
void WINAPI Fault_ExitProcess(UINT code) {
  if (g_log != INVALID_HANDLE_VALUE) {
    DWORD written;
    g_writeLog(g_log, "exit\r\n", 6, &written, nullptr);
  }
  real_ExitProcess(code);
}

struct Hook {
  const char* name;
  void** real;
  void* wrapper;
};

#define VDL_HOOK(name) {#name, reinterpret_cast<void**>(&real_##name), reinterpret_cast<void*>(&Fault_##name)}
const Hook kHooks[] = {
    VDL_HOOK(CreateFileA),      VDL_HOOK(CreateFileW),        VDL_HOOK(ReadFile),
    VDL_HOOK(WriteFile),        VDL_HOOK(SetFilePointerEx),   VDL_HOOK(GetFileSizeEx),
    VDL_HOOK(MoveFileExA),      VDL_HOOK(CopyFileA),          VDL_HOOK(DeleteFileA),
    VDL_HOOK(RemoveDirectoryA), VDL_HOOK(CreateDirectoryA),   VDL_HOOK(LoadLibraryExA),
    VDL_HOOK(LoadLibraryA),     VDL_HOOK(GetProcAddress),     VDL_HOOK(HeapAlloc),
    VDL_HOOK(malloc),           VDL_HOOK(realloc),            VDL_HOOK(CreateProcessA),
    VDL_HOOK(RegCreateKeyExA),  VDL_HOOK(RegOpenKeyExA),      VDL_HOOK(RegSetValueExA),
    VDL_HOOK(RegQueryValueExW), VDL_HOOK(CoCreateInstance),   VDL_HOOK(CreateWindowExA),
    VDL_HOOK(RegisterClassExA), VDL_HOOK(CreateDialogParamA), VDL_HOOK(DialogBoxParamA),
    VDL_HOOK(SHGetSpecialFolderLocation), VDL_HOOK(SHGetPathFromIDListW), VDL_HOOK(ExitProcess),
    VDL_HOOK(CreateThread),     VDL_HOOK(CreateEventA),
};
#undef VDL_HOOK

const Hook* Find(const char* name) {
  for (const Hook& hook : kHooks) {
    if (lstrcmpA(hook.name, name) == 0) return &hook;
  }
  return nullptr;
}

LONG Number(const char* variable) {
  char text[16];
  DWORD length = GetEnvironmentVariableA(variable, text, sizeof text);
  if (length == 0 || length >= sizeof text) return 0;
  LONG value = 0;
  for (const char* c = text; *c >= '0' && *c <= '9'; ++c) value = value * 10 + (*c - '0');
  return value;
}

void Redirect(BYTE* base, const IMAGE_IMPORT_DESCRIPTOR& library) {
  if (library.OriginalFirstThunk == 0) return;  // names bound away: nothing to match
  auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library.OriginalFirstThunk);
  auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library.FirstThunk);
  for (; names->u1.AddressOfData != 0; ++names, ++slots) {
    if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
    auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
    const Hook* hook = Find(reinterpret_cast<const char*>(byName->Name));
    DWORD old;
    if (hook == nullptr || !VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old)) continue;
    *hook->real = reinterpret_cast<void*>(slots->u1.Function);
    slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook->wrapper);
    VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
  }
}

}  // namespace

void InstallSeam(HMODULE module) {
  g_runThread = GetCurrentThreadId();
  g_failAt = Number("VDL_FAULT_AT");
  g_holdAt = Number("VDL_FAULT_HOLD");
  DWORD denied = GetEnvironmentVariableA("VDL_FAULT_DENY", g_denied, sizeof g_denied);
  if (denied >= sizeof g_denied) g_denied[0] = '\0';
  char path[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("VDL_FAULT_LOG", path, sizeof path);
  if (length > 0 && length < sizeof path) {
    g_log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  g_writeLog = &::WriteFile;
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name != 0;
       ++library) {
    Redirect(base, *library);
  }
  // Taken after the redirection: the real function, not the wrapper.
  if (real_WriteFile != nullptr) g_writeLog = real_WriteFile;
}

}  // namespace faults
