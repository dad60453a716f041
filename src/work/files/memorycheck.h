#ifndef LOOPFORGE_WORK_MEMORYCHECK_H
#define LOOPFORGE_WORK_MEMORYCHECK_H

#include <cstddef>

// Whether a block of that many bytes can be allocated right now. Asked
// before handing a picture to code that does not check its own allocations
// (the toolkit's loaders and colour quantiser): under an address-space limit
// they would crash instead of failing.
bool CanAllocate(std::size_t bytes);

#endif
