#include "app/gifapp.h"

#include <wx/log.h>

wxIMPLEMENT_APP_NO_MAIN(GifApp);

int main(int argc, char** argv)
{
#ifdef NDEBUG
    // Release builds do not stop on toolkit assertions.
    wxSetAssertHandler(nullptr);
#endif
    wxLog::SetLogLevel(wxLOG_Info);
    return wxEntry(argc, argv);
}
