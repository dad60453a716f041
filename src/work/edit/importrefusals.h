#ifndef LOOPFORGE_WORK_IMPORTREFUSALS_H
#define LOOPFORGE_WORK_IMPORTREFUSALS_H

#include "decode/picturedecoder.h"

#include <wx/string.h>

#include <cstddef>
#include <utility>
#include <vector>

// Import entries skipped (too large for the memory available, not a regular
// file, unreadable), gathered for one message after the import.
class ImportRefusals
{
public:
    void Add(const wxString& entry, PictureDecodeStatus status);
    bool IsEmpty() const { return m_entries.empty(); }
    bool Contains(const wxString& entry) const;
    void Clear() { m_entries.clear(); }

    // "These pictures were skipped:", then one line per entry with its
    // reason; entries past maxItems are only counted.
    wxString Message(std::size_t maxItems) const;

private:
    std::vector<std::pair<wxString, PictureDecodeStatus>> m_entries;
};

#endif
