#include "window/textfit.h"

#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/statusbr.h>

#include <algorithm>

int AnyScriptLineHeight(wxDC& dc, const wxString& text)
{
    static const wxString mixedScripts = wxString::FromUTF8(
        "\xC3\x81\xC3\x89gjpqy_|"                           // Latin accents and descenders
        "\xE6\xBC\xA2\xE5\xAD\x97\xE7\xB9\x81\xE4\xBD\x93"  // Chinese
        "\xE3\x81\x8B\xE3\x81\xAA\xE3\x82\xAB\xE3\x83\x8A"  // Japanese kana
        "\xED\x95\x9C\xEA\xB8\x80");                        // Korean
    return std::max({dc.GetCharHeight(), dc.GetTextExtent(mixedScripts).y,
                     text.empty() ? 0 : dc.GetTextExtent(text).y});
}

wxString FitWithEllipsis(wxDC& dc, const wxString& text, int width)
{
    if (dc.GetTextExtent(text).x <= width)
        return text;
    static const wxString ellipsis = wxString::FromUTF8("\xE2\x80\xA6");
    // The longest start that fits with the ellipsis: widths grow with length.
    size_t low = 0;
    size_t high = text.length();
    while (low < high)
    {
        const size_t mid = (low + high + 1) / 2;
        if (dc.GetTextExtent(text.Left(mid) + ellipsis).x <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return text.Left(low) + ellipsis;
}

void FitStatusBarHeight(wxFrame* frame, wxStatusBar* bar, const wxString& shownText)
{
    wxClientDC dc(bar);
    dc.SetFont(bar->GetFont());
    const int charHeight = dc.GetCharHeight();
    const int lineHeight = AnyScriptLineHeight(dc, shownText);
    // The bar centres its text by the font's own character height, so a
    // taller line hangs below it by the whole difference: the field needs
    // that room on both sides, and on both sides the toolkit's one-pixel
    // text offset.
    bar->SetMinHeight(2 * lineHeight - charHeight + 2);
    // The frame reads the bar's height when the bar is set.
    frame->SetStatusBar(bar);
}
