#ifndef LOOPFORGE_NET_UPDATECHECK_H
#define LOOPFORGE_NET_UPDATECHECK_H

#include <wx/event.h>
#include <wx/string.h>

class wxInputStream;

// Carries the latest version found by an update check (empty when none).
wxDECLARE_EVENT(wxEVT_UPDATE_CHECK, wxCommandEvent);

// How long an update request may take before it gives up: the request runs
// on the GUI thread, so a server that does not answer must not hold the
// window longer than this.
constexpr long UPDATE_CHECK_TIMEOUT_SECONDS = 10;

// The version the update document gives for this product, or empty. Empty
// too when the document is larger or more deeply nested than an update
// document can be, or when the version is not a short dotted number.
wxString GetLatestVersion(wxInputStream& stream);

// Negative when latest is newer than current. Versions compare by their
// dotted numbers, so 3.0.10 is newer than 3.0.9.
int CompareVersions(const wxString& current, const wxString& latest);

// True for an address the update check may fetch: a well-formed http or
// https address.
bool IsUpdateAddress(const wxString& url);

// Fetches the update document at url and returns the version it gives for
// this product; empty when the address is not an update address, the server
// cannot be reached or does not answer within timeoutSeconds, answers with an
// error, sends an oversized document, or the document names no version.
wxString RequestLatestVersion(const wxString& url, long timeoutSeconds);

#endif
