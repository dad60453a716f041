#include "files/memorycheck.h"

#include <cstdlib>

bool CanAllocate(std::size_t bytes)
{
    // Stored through a volatile pointer so that the compiler cannot drop the
    // allocation as unused.
    void* volatile block = std::malloc(bytes);
    const bool allocated = block != nullptr;
    std::free(block);
    return allocated;
}
