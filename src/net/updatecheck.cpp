#include "net/updatecheck.h"

#include "app/product.h"
#include "files/xmlbounds.h"
#include "net/domainoption.h"

#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

wxDEFINE_EVENT(wxEVT_UPDATE_CHECK, wxCommandEvent);

namespace
{
// An update document is a few lines; anything larger is not one. Checked
// before parsing, on the window's thread, so a hostile reply costs little.
const size_t kMaxDocumentBytes = 64 * 1024;
const XmlBounds kUpdateBounds = {16, 4 * 1024, 64, 16};

// A version the window can show: up to nine dotted numbers ("3.0.10").
bool IsShortDottedNumber(const wxString& version)
{
    const size_t kMaxParts = 9, kMaxDigits = 6;
    size_t parts = 1, digits = 0;
    for (const wxUniChar c : version)
    {
        if (c == '.')
        {
            if (digits == 0 || ++parts > kMaxParts)
                return false;
            digits = 0;
        }
        else if (c < '0' || c > '9' || ++digits > kMaxDigits)
            return false;
    }
    return digits > 0;
}

// Reads the stream up to one byte past the limit, so an oversized document shows.
std::string ReadDocument(wxInputStream& stream)
{
    std::string text;
    char buffer[4096];
    while (text.size() <= kMaxDocumentBytes && !stream.Eof())
    {
        const size_t count = stream.Read(buffer, sizeof buffer).LastRead();
        if (count == 0)
            break;
        text.append(buffer, count);
    }
    return text;
}

const size_t kVersionKeyBytes = 9;

// Fills a zero-filled key with one byte per dotted number, each number plus
// one (so that a 0 does not end the key), capped at 255. Trailing zero
// numbers are dropped, so 3.0.8 and 3.0.8.0 are the same version.
void MakeVersionKey(const wxString& version, char (&key)[kVersionKeyBytes])
{
    std::memset(key, 0, sizeof(key));
    const std::string text = version.utf8_string();
    const char* p = text.data();
    const char* const end = p + text.size();
    for (size_t slot = 0; slot < kVersionKeyBytes && p < end; ++slot)
    {
        while (p < end && *p != '.' && (*p < '0' || *p > '9'))
            ++p;
        long number = 0;
        for (; p < end && *p >= '0' && *p <= '9'; ++p)
            number = std::min(number * 10 + (*p - '0'), 254L);
        key[slot] = static_cast<char>(static_cast<unsigned char>(number + 1));
        while (p < end && *p != '.')
            ++p;
        if (p < end)
            ++p;
    }
    for (size_t slot = kVersionKeyBytes; slot > 0 && key[slot - 1] <= 1; --slot)
        key[slot - 1] = 0;
}

size_t AppendToBody(char* data, size_t size, size_t count, void* userData)
{
    std::string* body = static_cast<std::string*>(userData);
    const size_t bytes = size * count;
    if (body->size() + bytes > kMaxDocumentBytes)
        return 0;  // ends the transfer with an error
    body->append(data, bytes);
    return bytes;
}

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool FetchDocument(const wxString& url, long timeoutSeconds, std::string* body)
{
    InitCurlOnce();
    CURL* curl = curl_easy_init();
    if (!curl)
        return false;

    wxString agent = GetProductName() + wxS("/") + GetProductVersion();
    agent.Replace(wxS(" "), wxS("-"));

    curl_easy_setopt(curl, CURLOPT_URL, url.utf8_string().c_str());
    // Redirects may not lead to a file or another protocol either.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.utf8_string().c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendToBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, body);

    const CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return result == CURLE_OK;
}
}  // namespace

wxString GetLatestVersion(wxInputStream& stream)
{
    if (!stream.IsOk())
        return wxString();

    const std::string text = ReadDocument(stream);
    if (text.size() > kMaxDocumentBytes ||
        CheckXmlBounds(text.data(), text.size(), kUpdateBounds) != XmlBoundsCheck::WithinBounds)
        return wxString();

    wxLogNull noLog;
    wxMemoryInputStream in(text.data(), text.size());
    wxXmlDocument document;
    if (!document.Load(in, wxS("UTF-8")) || !document.GetRoot())
        return wxString();

    // An entry names the product in one attribute and its version in the
    // attribute after it; a later entry replaces an earlier one.
    const wxString product = GetProductName();
    wxString latest;
    for (const wxXmlNode* entry = document.GetRoot()->GetChildren(); entry;
         entry = entry->GetNext())
    {
        for (const wxXmlAttribute* attribute = entry->GetAttributes();
             attribute && attribute->GetNext(); attribute = attribute->GetNext())
        {
            if (attribute->GetValue() == product)
            {
                latest = attribute->GetNext()->GetValue();
                break;
            }
        }
    }
    // Anything else is no version: an answer of megabytes would be shown
    // in a message box wider than the screen.
    return IsShortDottedNumber(latest) ? latest : wxString();
}

int CompareVersions(const wxString& current, const wxString& latest)
{
    char currentKey[kVersionKeyBytes];
    char latestKey[kVersionKeyBytes];
    MakeVersionKey(current, currentKey);
    MakeVersionKey(latest, latestKey);
    return std::strncmp(currentKey, latestKey, kVersionKeyBytes);
}

bool IsUpdateAddress(const wxString& url)
{
    if (!IsWebAddress(url))
        return false;
    CURLU* parsed = curl_url();
    if (!parsed)
        return false;
    const bool wellFormed =
        curl_url_set(parsed, CURLUPART_URL, url.utf8_string().c_str(), 0) == CURLUE_OK;
    curl_url_cleanup(parsed);
    return wellFormed;
}

wxString RequestLatestVersion(const wxString& url, long timeoutSeconds)
{
    if (!IsUpdateAddress(url))
        return wxString();
    std::string body;
    if (!FetchDocument(url, timeoutSeconds, &body))
        return wxString();
    wxMemoryInputStream stream(body.data(), body.size());
    return GetLatestVersion(stream);
}
