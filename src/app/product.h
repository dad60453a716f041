#ifndef LOOPFORGE_APP_PRODUCT_H
#define LOOPFORGE_APP_PRODUCT_H

#include <wx/string.h>

// Product identity: every place that names the program uses these.
wxString GetProductName();     // "Corvanel Loopforge"
wxString GetProductVersion();  // "3.0.8"
wxString GetMakerName();       // "Corvanel"

#endif
