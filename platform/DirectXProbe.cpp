#include "platform/DirectXProbe.h"

#include <ddraw.h>

#include "platform/ComRef.h"
#include "platform/SystemModule.h"

namespace platform {
namespace {

constexpr GUID kIidDirectDraw2 = {0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
constexpr GUID kIidSurface3 = {0xDA044E00, 0x69B2, 0x11D0, {0xA1, 0xD5, 0x00, 0xAA, 0x00, 0xB8, 0xDF, 0xBB}};
constexpr GUID kIidSurface4 = {0x0B2B8630, 0xAD35, 0x11D0, {0x8E, 0xA6, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};
constexpr GUID kClsidDirectMusic = {0x636B9F10, 0x0C7D, 0x11D1, {0x95, 0xB2, 0x00, 0x20, 0xAF, 0xDC, 0x74, 0x21}};
constexpr GUID kIidDirectMusic = {0x6536115A, 0x7B2D, 0x11D2, {0xBA, 0x18, 0x00, 0x00, 0xF8, 0x75, 0xAC, 0x12}};
constexpr GUID kIidDirectDraw7 = {0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

#if defined(__i386__)
static_assert(sizeof(DDSURFACEDESC) == 108, "the primary surface is described in 108 bytes");
#endif

using DirectDrawCreateFn = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
using DirectDrawCreateExFn = HRESULT(WINAPI*)(GUID*, void**, REFIID, IUnknown*);

FARPROC Lookup(const ScopedModule& module, const char* name) { return GetProcAddress(module.Get(), name); }

// Whether the object answers for iid; the interface obtained is let go.
template <typename T>
bool Answers(T* object, const GUID& iid) {
  IUnknown* answer = nullptr;
  if (FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&answer)))) return false;
  if (answer != nullptr) answer->Release();
  return true;
}

// DirectInput is only looked for, never created.
bool HasDirectInput() {
  ScopedModule input = LoadSystemModule("DINPUT.DLL");
  if (!input.Valid()) {
    OutputDebugStringA("Couldn't LoadLibrary DInput\r\n");
    return false;
  }
  if (Lookup(input, "DirectInputCreateA") == nullptr) {
    OutputDebugStringA("Couldn't GetProcAddress DInputCreate\r\n");
    return false;
  }
  return true;
}

// The surface steps, 0x300 and 0x500, and what they share with DirectDraw.
uint32_t ProbeSurfaces(IDirectDraw* draw) {
  if (FAILED(draw->SetCooperativeLevel(nullptr, DDSCL_NORMAL))) {
    OutputDebugStringA("Couldn't Set coop level\r\n");
    return 0;
  }
  DDSURFACEDESC description = {};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  ComRef<IDirectDrawSurface> surface;
  if (FAILED(draw->CreateSurface(&description, &surface.p, nullptr))) {
    OutputDebugStringA("Couldn't CreateSurface\r\n");
    return 0;
  }
  if (!Answers(surface.p, kIidSurface3)) return 0x300;
  if (!Answers(surface.p, kIidSurface4)) return 0x500;
  return 0x600;
}

// DirectDraw from release 1 to 6: 0, 0x100, 0x200, 0x300, 0x500, or 0x600
// when everything up to the surface interfaces of 6 is there.
uint32_t ProbeDirectDraw(const ScopedModule& ddraw) {
  auto create = reinterpret_cast<DirectDrawCreateFn>(reinterpret_cast<void*>(Lookup(ddraw, "DirectDrawCreate")));
  if (create == nullptr) {
    OutputDebugStringA("Couldn't LoadLibrary DDraw\r\n");
    return 0;
  }
  ComRef<IDirectDraw> draw;
  if (FAILED(create(nullptr, &draw.p, nullptr))) {
    OutputDebugStringA("Couldn't create DDraw\r\n");
    return 0;
  }
  if (!Answers(draw.p, kIidDirectDraw2)) {
    OutputDebugStringA("Couldn't QI DDraw2\r\n");
    return 0x100;
  }
  if (!HasDirectInput()) return 0x200;
  return ProbeSurfaces(draw.p);
}

bool HasDirectMusic() {
  bool initialised = SUCCEEDED(CoInitialize(nullptr));
  IUnknown* music = nullptr;
  HRESULT created = CoCreateInstance(kClsidDirectMusic, nullptr, CLSCTX_INPROC_SERVER, kIidDirectMusic,
                                     reinterpret_cast<void**>(&music));
  if (SUCCEEDED(created) && music != nullptr) music->Release();
  // Balanced on both paths: a failed probe leaves COM as it found it.
  if (initialised) CoUninitialize();
  if (FAILED(created)) OutputDebugStringA("Couldn't create CLSID_DirectMusic\r\n");
  return SUCCEEDED(created);
}

bool HasDirectDraw7(const ScopedModule& ddraw) {
  auto createEx =
      reinterpret_cast<DirectDrawCreateExFn>(reinterpret_cast<void*>(Lookup(ddraw, "DirectDrawCreateEx")));
  ComRef<IUnknown> draw7;
  return createEx != nullptr &&
         SUCCEEDED(createEx(nullptr, draw7.Out(), kIidDirectDraw7, nullptr));
}

// DirectPlay's NAT helper came with 8.1 and left Windows with Vista; there
// Direct3D 9, which holds all that 8.1 brought, stands for it.
bool HasDirectX81Module() {
  if (LoadSystemModule("dpnhpast.dll").Valid()) return true;
  if (LoadSystemModule("d3d9.dll").Valid()) return true;
  OutputDebugStringA("Couldn't LoadLibrary dpnhpast.dll\r\n");
  return false;
}

}  // namespace

uint32_t ProbeDirectXVersion() {
  ScopedModule ddraw = LoadSystemModule("DDRAW.DLL");
  if (!ddraw.Valid()) return 0;
  uint32_t version = ProbeDirectDraw(ddraw);
  if (version < 0x600) return version;
  if (!HasDirectMusic()) return 0x600;
  if (!HasDirectDraw7(ddraw)) return 0x601;
  if (!LoadSystemModule("D3D8.DLL").Valid()) return 0x700;
  return HasDirectX81Module() ? kDirectX81 : 0x800;
}

}  // namespace platform
