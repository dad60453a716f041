#ifndef LOOPFORGE_WINDOW_CHOOSERWILDCARDS_H
#define LOOPFORGE_WINDOW_CHOOSERWILDCARDS_H

#include <wx/string.h>

// The file types the open choosers offer. GTK compares patterns letter for
// letter, so each ending is matched in any case ("PHOTO.JPG", "Scan.Png")
// while the type's name shows the usual lower-case patterns; "All files"
// comes second.

// Pictures for Add Image and Insert Image.
wxString PictureChooserWildcard();
// Video clips for Import Video.
wxString VideoChooserWildcard();
// Project files for Open Project.
wxString ProjectChooserWildcard();

// The formats Save and Save As write, in the order of kExportFormats; without
// the ffmpeg program the video entries say what to install.
wxString ExportChooserWildcard(bool videoAvailable);

// "*.[xX][mM][lL]" for "xml": the ending in any case, as a chooser pattern.
wxString AnyCasePattern(const wxString& ending);

#endif
