#ifndef LOOPFORGE_WORK_SOURCEOVERWRITE_H
#define LOOPFORGE_WORK_SOURCEOVERWRITE_H

#include <wx/arrstr.h>
#include <wx/string.h>

// The file a GIF written to output would replace although the GIF is made
// from it: the project file, or a file a frame is read from (for a frame
// reference, its GIF file), as IsSameFile tells; empty when there is none.
// Writing there would destroy what the frames are read from.
wxString FindOverwrittenSource(const wxString& output, const wxArrayString& frameNames,
                               const wxString& projectPath);

// Why such an output is refused, in a few words naming the source.
wxString DescribeOverwrittenSource(const wxString& source);

#endif
