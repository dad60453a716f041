#ifndef LOOPFORGE_WORK_REGULARFILE_H
#define LOOPFORGE_WORK_REGULARFILE_H

#include <wx/string.h>

#include <cstddef>
#include <vector>

enum class FileReadResult
{
    Read,
    CannotOpen,      // missing, or no permission
    NotRegularFile,  // a folder, a pipe, a device or a socket
    TooLarge,        // larger than the caller's limit
    OutOfMemory,     // no memory for its bytes
    ReadFailed
};

// Reads a whole file into data, if it is a regular file of at most maxBytes.
// Anything else is refused without waiting on it: opening a pipe or a
// terminal for reading would block until someone writes to it.
FileReadResult ReadRegularFile(const wxString& path, std::size_t maxBytes,
                               std::vector<unsigned char>& data);

// The same for only the first headBytes of the file (all of it when it is
// shorter); whole says whether data holds the whole file.
FileReadResult ReadRegularFileHead(const wxString& path, std::size_t maxBytes,
                                   std::size_t headBytes, std::vector<unsigned char>& data,
                                   bool& whole);

#endif
