// Heap blocks taken by the process so far: operator new and, through the
// linker's --wrap, malloc, calloc and realloc of everything linked in
// statically (the installer core among it).
#pragma once

#include <cstdint>

std::uint64_t HeapAllocations();
