#ifndef LOOPFORGE_WORK_UNREADABLEPICTURES_H
#define LOOPFORGE_WORK_UNREADABLEPICTURES_H

#include <wx/arrstr.h>
#include <wx/string.h>

#include <cstddef>

// Lists import entries that gave no picture for a message: a run of frame
// references of one GIF file, or of entries naming one file (the frames of a
// video clip), counts as one item, "PATH (N frames)", and items
// past maxItems are only counted ("and 3 more").
wxString ListUnreadablePictures(const wxArrayString& entries, const wxString& separator,
                                std::size_t maxItems);

// Why a file gave no picture, in a few words, as far as the file system
// tells: it is missing, it is empty, or its content is damaged or no picture.
wxString DescribeUnreadableFile(const wxString& path);

#endif
