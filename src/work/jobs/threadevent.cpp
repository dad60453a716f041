#include "jobs/threadevent.h"

wxDEFINE_EVENT(wxEVT_THREAD_UPDATE, wxCommandEvent);
wxDEFINE_EVENT(wxEVT_PICTURE_REFUSED, wxCommandEvent);
wxDEFINE_EVENT(wxEVT_PICTURE_DAMAGED, wxCommandEvent);
