#ifndef LOOPFORGE_WORK_BMPCHECK_H
#define LOOPFORGE_WORK_BMPCHECK_H

#include <cstddef>

// Whether the toolkit's BMP reader can be handed this file without reading or
// writing outside its buffers. Its run-length decoder trusts the stream, so an
// RLE4/RLE8 stream is walked first: a literal run or a move that would leave
// the row, a vertical move (the reader's handling of those has changed between
// versions and is unsafe in some), or a colour index beyond a short colour
// table rejects the file. Uncompressed 1-, 4- and 8-bit pictures are checked for
// indices beyond a short colour table as well; other depths up to 8 bits,
// which the reader cannot read, are rejected.
bool IsBmpSafeToDecode(const unsigned char* data, std::size_t size);

#endif
