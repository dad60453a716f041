#include "app/product.h"

wxString GetProductName()
{
    // Kept in its URL-safe form and spelled out for display.
    wxString name = wxS("Corvanel+Loopforge");
    name.Replace(wxS("+"), wxS(" "));
    return name;
}

wxString GetProductVersion()
{
    return wxS("3.0.8");
}

wxString GetMakerName()
{
    return wxS("Corvanel");
}
