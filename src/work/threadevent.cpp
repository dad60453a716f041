#include "work/threadevent.h"

wxDEFINE_EVENT(wxEVT_THREAD_UPDATE, wxCommandEvent);
