// The samples' screen saver: a Windows program that ends at once, whatever
// Windows asks of it (/s, /c, /p).
#include <windows.h>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*command*/, int /*show*/) { return 0; }
