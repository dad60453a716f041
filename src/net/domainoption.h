#ifndef LOOPFORGE_NET_DOMAINOPTION_H
#define LOOPFORGE_NET_DOMAINOPTION_H

#include <wx/string.h>
#include <wx/xml/xml.h>

// The web addresses the program opens or contacts, read by position from the
// link configuration file "option.cfg".
class DomainOption
{
public:
    explicit DomainOption(const wxString& optionFile);
    virtual ~DomainOption() = default;

    // Reads the file; true when all seven values were found.
    bool LoadOptions();

    wxString m_optionFile;
    wxXmlDocument m_document;

    wxString m_helpUrl;          // value 1
    wxString m_value2;           // value 2, read but not used
    wxString m_supportUrl;       // value 3
    wxString m_value4;           // value 4, read but not used
    wxString m_updateUrl;        // value 5, with "-update.xml" appended
    wxString m_downloadPageUrl;  // value 6
    wxString m_value7;           // value 7, read but not used
};

// The one link configuration of the running program; owned by the application.
extern DomainOption* g_domainOption;

// True for the addresses the program may fetch or hand to the browser:
// http and https only.
bool IsWebAddress(const wxString& url);

#endif
