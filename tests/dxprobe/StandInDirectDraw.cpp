// A DirectDraw that loads but fails at one step, chosen by VDL_DDRAW_FAIL,
// for the probe's branches that a system never takes with Wine's own:
//   create    DirectDrawCreate fails
//   ddraw2    the object does not answer for IDirectDraw2
//   coop      SetCooperativeLevel fails
//   surface   CreateSurface fails
//   surface3  the surface answers for nothing
//   surface4  the surface answers for IDirectDrawSurface3 only
//   ex        DirectDrawCreateEx fails
// Built without VDL_DDRAW_ENTRY_POINTS it exports neither entry point: a
// module of the right name without what the probe looks up in it.
// Built for x86_64 only, where every method shares one calling convention,
// so that one function can stand for the methods the probe never calls.
#include <windows.h>

#include <string.h>

namespace {

constexpr GUID kIidDirectDraw2 = {0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
constexpr GUID kIidSurface3 = {0xDA044E00, 0x69B2, 0x11D0, {0xA1, 0xD5, 0x00, 0xAA, 0x00, 0xB8, 0xDF, 0xBB}};

bool Fails(const char* step) {
  char mode[32] = "";
  GetEnvironmentVariableA("VDL_DDRAW_FAIL", mode, sizeof(mode));
  return strcmp(mode, step) == 0;
}

struct Object {
  void** table;
};

HRESULT WINAPI NotUsed() { return E_NOTIMPL; }
ULONG WINAPI AddRef(Object*) { return 1; }
ULONG WINAPI Release(Object*) { return 0; }

HRESULT WINAPI SurfaceQuery(Object* self, REFIID iid, void** out) {
  bool answers = !Fails("surface3") && !(Fails("surface4") && !IsEqualGUID(iid, kIidSurface3));
  *out = answers ? self : nullptr;
  return answers ? S_OK : E_NOINTERFACE;
}

void* g_surfaceTable[64];
Object g_surface = {g_surfaceTable};

HRESULT WINAPI DrawQuery(Object* self, REFIID iid, void** out) {
  bool answers = !(Fails("ddraw2") && IsEqualGUID(iid, kIidDirectDraw2));
  *out = answers ? self : nullptr;
  return answers ? S_OK : E_NOINTERFACE;
}

HRESULT WINAPI CreateSurface(Object*, void*, Object** out, void*) {
  *out = Fails("surface") ? nullptr : &g_surface;
  return Fails("surface") ? E_FAIL : S_OK;
}

HRESULT WINAPI SetCooperativeLevel(Object*, HWND, DWORD) { return Fails("coop") ? E_FAIL : S_OK; }

void* g_drawTable[64];
Object g_draw = {g_drawTable};

void Fill(void** table, void* query) {
  for (int i = 0; i < 64; ++i) table[i] = reinterpret_cast<void*>(&NotUsed);
  table[0] = query;
  table[1] = reinterpret_cast<void*>(&AddRef);
  table[2] = reinterpret_cast<void*>(&Release);
}

}  // namespace

#ifdef VDL_DDRAW_ENTRY_POINTS
extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID*, Object** out, IUnknown*) {
  Fill(g_drawTable, reinterpret_cast<void*>(&DrawQuery));
  g_drawTable[6] = reinterpret_cast<void*>(&CreateSurface);
  g_drawTable[20] = reinterpret_cast<void*>(&SetCooperativeLevel);
  Fill(g_surfaceTable, reinterpret_cast<void*>(&SurfaceQuery));
  *out = Fails("create") ? nullptr : &g_draw;
  return Fails("create") ? E_FAIL : S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreateEx(GUID*, void** out, REFIID, IUnknown*) {
  *out = Fails("ex") ? nullptr : &g_draw;
  return Fails("ex") ? E_FAIL : S_OK;
}
#endif
