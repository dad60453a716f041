#include "edit/importrefusals.h"

#include "decode/unreadablepictures.h"

#include <wx/intl.h>

#include <algorithm>

void ImportRefusals::Add(const wxString& entry, PictureDecodeStatus status)
{
    m_entries.emplace_back(entry, status);
}

bool ImportRefusals::Contains(const wxString& entry) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const auto& refused) { return refused.first == entry; });
}

wxString ImportRefusals::Message(std::size_t maxItems) const
{
    wxString text = _("These pictures were skipped:") + wxS("\n");
    const std::size_t shown = std::min(m_entries.size(), maxItems);
    for (std::size_t i = 0; i < shown; ++i)
    {
        const auto& [entry, status] = m_entries[i];
        const wxString reason = status == PictureDecodeStatus::Unreadable
                                    ? DescribeUnreadableFile(entry)
                                    : DescribePictureDecodeStatus(status);
        text += wxS("\n") + wxString::Format(wxS("%s (%s)"), entry, reason);
    }
    if (shown < m_entries.size())
        text += wxS("\n") + wxString::Format(_("and %lu more"),
                                             static_cast<unsigned long>(m_entries.size() - shown));
    return text;
}
