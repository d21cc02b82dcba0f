// The stub allocates through the C heap: libstdc++'s operator new would bring
// its exception machinery along, which the stub neither uses nor can afford.
#include <stdlib.h>

#include <new>

void* operator new(size_t size) { return malloc(size); }
void* operator new[](size_t size) { return malloc(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return malloc(size); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }
