#include "window/localnumbers.h"

#include "app/language.h"

#include <wx/filename.h>
#include <wx/intl.h>

#include <cstdlib>

namespace
{
int CurrentLanguageCode()
{
    const wxLocale* locale = wxGetLocale();
    return locale ? CodeFromToolkitLanguage(locale->GetLanguage()) : LANGUAGE_CODE_ENGLISH;
}
}  // namespace

wxString LocalDecimalSeparator()
{
    switch (CurrentLanguageCode())
    {
        case LANGUAGE_CODE_GERMAN:
        case LANGUAGE_CODE_FRENCH:
        case LANGUAGE_CODE_ITALIAN:
            return wxS(",");
        default:
            return wxS(".");
    }
}

wxString LocalThousandsSeparator()
{
    switch (CurrentLanguageCode())
    {
        case LANGUAGE_CODE_GERMAN:
        case LANGUAGE_CODE_ITALIAN:
            return wxS(".");
        case LANGUAGE_CODE_FRENCH:
            return wxString::FromUTF8("\xE2\x80\xAF");  // narrow no-break space
        default:
            return wxS(",");
    }
}

wxString LocalNumber(double value, int decimals)
{
    // Printed in the C library's way, then given the local separator.
    wxString text = wxString::FromCDouble(value, decimals);
    text.Replace(wxS("."), LocalDecimalSeparator());
    return text;
}

wxString LocalInteger(long long value)
{
    const wxString digits = wxString::Format(wxS("%lld"), std::llabs(value));
    wxString text;
    for (size_t i = 0; i < digits.length(); ++i)
    {
        if (i > 0 && (digits.length() - i) % 3 == 0)
            text += LocalThousandsSeparator();
        text += digits[i];
    }
    return value < 0 ? wxS("-") + text : text;
}

wxString LocalFileSize(unsigned long long bytes)
{
    // The toolkit's units, its one decimal in the local way.
    wxString text = wxFileName::GetHumanReadableSize(wxULongLong(bytes));
    const wxString cDecimal = wxString::FromCDouble(0.5, 1).Mid(1, 1);
    text.Replace(cDecimal, LocalDecimalSeparator());
    return text;
}
