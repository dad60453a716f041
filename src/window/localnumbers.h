#ifndef LOOPFORGE_WINDOW_LOCALNUMBERS_H
#define LOOPFORGE_WINDOW_LOCALNUMBERS_H

#include <wx/string.h>

// Numbers as the language of the window writes them ("0,25" in German and
// French, "0.25" in English), also where the system lacks that language's
// locale and the C library writes every number the English way.

// The decimal separator and the thousands separator of the language in use.
wxString LocalDecimalSeparator();
wxString LocalThousandsSeparator();

// A number with that many decimals.
wxString LocalNumber(double value, int decimals);
// A whole number, its thousands grouped.
wxString LocalInteger(long long value);
// A file size as "12.3 MB", in the local way.
wxString LocalFileSize(unsigned long long bytes);

#endif
