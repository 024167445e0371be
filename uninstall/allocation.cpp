// The program's own allocation functions. The C++ runtime's throw
// std::bad_alloc, which alone brought its whole exception machinery (unwinder,
// demangler, thread library: over 100 KB) into a program that catches nothing.
// Running out of memory ends the program either way.
#include <stdlib.h>
#include <new>

void *operator new(size_t size) {
    void *block = malloc(size ? size : 1);
    if (block == nullptr) abort();
    return block;
}

void operator delete(void *block) noexcept { free(block); }

void operator delete(void *block, size_t) noexcept { free(block); }
