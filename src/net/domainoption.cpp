#include "net/domainoption.h"

#include <wx/filename.h>
#include <wx/log.h>

DomainOption* g_domainOption = nullptr;

DomainOption::DomainOption(const wxString& optionFile) : m_optionFile(optionFile) {}

bool DomainOption::LoadOptions()
{
    if (!wxFileName::FileExists(m_optionFile))
        return false;

    wxLogNull noLog;
    if (!m_document.Load(m_optionFile, wxS("UTF-8")) || !m_document.GetRoot())
        return false;

    const wxXmlNode* settings = m_document.GetRoot()->GetChildren();
    while (settings && settings->GetType() != wxXML_ELEMENT_NODE)
        settings = settings->GetNext();
    if (!settings)
        return false;

    wxString* const values[] = {&m_helpUrl,   &m_value2,          &m_supportUrl, &m_value4,
                                &m_updateUrl, &m_downloadPageUrl, &m_value7};
    const wxXmlNode* node = settings->GetChildren();
    for (size_t i = 0; i < WXSIZEOF(values); ++i)
    {
        // Comments and the whitespace the loader keeps are not values.
        while (node && node->GetType() != wxXML_ELEMENT_NODE)
            node = node->GetNext();
        if (!node)
            return false;
        *values[i] = node->GetNodeContent().Strip(wxString::both);
        if (values[i] == &m_updateUrl)
            m_updateUrl += wxS("-update.xml");
        node = node->GetNext();
    }
    return true;
}

bool IsWebAddress(const wxString& url)
{
    const wxString lower = url.Lower();
    return (lower.StartsWith(wxS("http://")) && lower.length() > 7) ||
           (lower.StartsWith(wxS("https://")) && lower.length() > 8);
}
