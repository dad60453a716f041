#ifndef LOOPFORGE_WORK_PICTURESCAN_H
#define LOOPFORGE_WORK_PICTURESCAN_H

#include <wx/gdicmn.h>
#include <wx/string.h>

#include <vector>

// The sizes of the pictures an import entry gives (see DecodePictures), in
// order, read from the file's headers without decoding a pixel: one size for
// a picture or a frame reference, one per frame for a whole GIF file, none
// for an entry that gives no picture. Pixel data that turns out to be
// damaged is only found by decoding, so an entry can still give fewer
// pictures than listed.
std::vector<wxSize> ScanPictureSizes(const wxString& entry);

#endif
