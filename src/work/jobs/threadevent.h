#ifndef LOOPFORGE_WORK_THREADEVENT_H
#define LOOPFORGE_WORK_THREADEVENT_H

#include "decode/storedpicture.h"

#include <wx/event.h>
#include <wx/image.h>

// A decoded picture on its way from the import thread to the window, with
// the delay of its own it brings (SequencePicture::delay; 0 for none) and
// its stored copy, compressed by the thread so the window need not.
struct ImportedPicture
{
    wxImage image;
    int delay = 0;
    StoredPicture stored;
};

// Progress events posted by the worker threads to the main window.
//
// Import (id ID_IMAGE_THREAD): one event per decoded picture: string = path
// (for a frame reference the GIF file's own path), int = progress percentage,
// extra long = frame index inside the file, client data = an ImportedPicture
// allocated with new (the receiver owns it). When the import ends without having
// delivered a picture at 100 (the last path yielded nothing, the list was
// empty, or the thread was stopped), a last event with int 100 and no client
// data tells the receiver that the import is over.
//
// Import progress (id ID_IMAGE_PROGRESS): while a file gives many pictures,
// int = the percentage of the whole list read so far, rising, below 100; no
// picture.
//
// Import, an entry skipped for a reason the user can act on (type
// wxEVT_PICTURE_REFUSED, id ID_IMAGE_THREAD): string = the entry, int = its
// PictureDecodeStatus (too large for the memory available, not a regular
// file). It comes before the entry's last picture, if the entry gave any,
// and so always before the import's last event.
//
// Import, a frame of a whole GIF file left out because its pixel data is
// damaged (type wxEVT_PICTURE_DAMAGED, id ID_IMAGE_THREAD): string = the GIF
// file's path, int = the frame index; likewise before the import's last event.
//
// Export (id ID_SAVE_GIF_THREAD): one event per frame, int = percentage; the
// event with 100 is the last one and carries the result: extra long 1 when the
// file was written completely and moved into place, 0 otherwise, and string =
// the reason of a failure, ready to show.
wxDECLARE_EVENT(wxEVT_THREAD_UPDATE, wxCommandEvent);
wxDECLARE_EVENT(wxEVT_PICTURE_REFUSED, wxCommandEvent);
wxDECLARE_EVENT(wxEVT_PICTURE_DAMAGED, wxCommandEvent);

enum
{
    ID_PLAY_TIMER = 1,
    ID_IMAGE_THREAD = 6,
    ID_IMAGE_PROGRESS = 7,
    ID_SAVE_GIF_THREAD = 10
};

#endif
