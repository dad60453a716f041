#include "dialog_expectations.h"
#include "domain_option_override.h"
#include "fake_opener.h"
#include "language_window_fixture.h"
#include "local_http_server.h"
#include "net/updatecheck.h"

#include <wx/stopwatch.h>

namespace
{
const wxString kFailure = wxS("Update failed!Please check if the network is available.");
const wxString kDownloadPage = wxS("http://127.0.0.1:9/loopforge/download");

std::string UpdateDocument(const std::string& version)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<products>\n"
           "  <product name=\"Corvanel Loopforge\" version=\"" +
           version + "\"/>\n</products>\n";
}

class UpdateCheckTest : public LanguageWindowTest
{
protected:
    UpdateCheckTest() { m_links.option.m_downloadPageUrl = kDownloadPage; }

    // Delivers a result the way a finished request does.
    ShownMessage ShowResult(const wxString& latest, int answer = wxID_OK)
    {
        ShownMessage shown;
        wxCommandEvent result(wxEVT_UPDATE_CHECK, 0);
        result.SetString(latest);
        wxTEST_DIALOG(frame->ProcessWindowEvent(result), ExpectMessage(&shown, answer));
        return shown;
    }

    // Runs the menu command against the configured update address and waits
    // for the queued result.
    ShownMessage CheckForUpdate(long waitMs = 5000)
    {
        ShownMessage shown;
        wxCommandEvent command(wxEVT_MENU, ID_MENU_CHECK_UPDATE);
        wxTEST_DIALOG(
            {
                frame->ProcessWindowEvent(command);
                WaitFor([&shown] { return shown.count > 0; }, waitMs);
            },
            ExpectMessage(&shown));
        return shown;
    }

    DomainOptionOverride m_links;
};
}  // namespace

TEST_F(UpdateCheckTest, NoVersionShowsTheTranslatedFailureMessage)
{
    ShownMessage shown = ShowResult(wxString());
    EXPECT_EQ(shown.count, 1);
    EXPECT_EQ(shown.message, kFailure);
    EXPECT_EQ(shown.caption, wxS("Corvanel Loopforge"));
    EXPECT_EQ(shown.style & (wxOK | wxCENTRE | wxYES_NO), wxOK | wxCENTRE);

    ChooseLanguage(89);
    shown = ShowResult(wxString());
    EXPECT_EQ(shown.message, wxString::FromUTF8("Die Suche nach Updates ist fehlgeschlagen! "
                                                "Bitte pr\xC3\xBC"
                                                "fen Sie, ob eine "
                                                "Netzwerkverbindung besteht."));
    EXPECT_EQ(shown.caption, wxS("Corvanel Loopforge"));
}

TEST_F(UpdateCheckTest, SameOrOlderVersionIsTheLatest)
{
    ChooseLanguage(112);  // these texts are never translated
    for (const wxString latest : {wxS("3.0.8"), wxS("3.0.7"), wxS("2.0")})
    {
        const ShownMessage shown = ShowResult(latest);
        EXPECT_EQ(shown.message,
                  wxS("This version of Corvanel Loopforge(3.0.8) is the latest version."))
            << latest;
        EXPECT_EQ(shown.caption, wxS("Corvanel Loopforge"));
        EXPECT_EQ(shown.style & (wxOK | wxCENTRE | wxYES_NO), wxOK | wxCENTRE);
    }
}

TEST_F(UpdateCheckTest, NewerVersionOffersTheDownloadPage)
{
    ChooseLanguage(47);
    const ShownMessage shown = ShowResult(wxS("3.0.10"), wxID_NO);
    EXPECT_EQ(shown.message, wxS("A new version of Corvanel Loopforge(3.0.10) is available. "
                                 "Click Yes to open download page."));
    EXPECT_EQ(shown.caption, wxS("Corvanel Loopforge"));
    EXPECT_EQ(shown.style & (wxOK | wxCENTRE | wxYES_NO), wxYES_NO | wxCENTRE);
}

TEST_F(UpdateCheckTest, YesOpensTheDownloadPageInTheBrowser)
{
    FakeOpener opener;
    ShowResult(wxS("3.1.0"), wxID_NO);
    Settle(200);
    EXPECT_FALSE(wxFileExists(opener.Log()));

    ShowResult(wxS("3.1.0"), wxID_YES);
    EXPECT_TRUE(WaitFor([&opener] { return opener.Opened().EndsWith(wxS("\n")); }));
    EXPECT_EQ(opener.Opened(), kDownloadPage + wxS("\n"));
}

TEST_F(UpdateCheckTest, AsksTheServerAndShowsItsAnswer)
{
    LocalHttpServer server(LocalHttpServer::Response(200, UpdateDocument("3.0.9")));
    ASSERT_TRUE(server.IsRunning());
    m_links.option.m_updateUrl = wxString::FromUTF8(server.Url("/loopforge-update.xml"));

    const ShownMessage shown = CheckForUpdate();
    EXPECT_EQ(shown.count, 1);
    EXPECT_EQ(shown.message, wxS("A new version of Corvanel Loopforge(3.0.9) is available. "
                                 "Click Yes to open download page."));
    ASSERT_EQ(server.RequestLines().size(), 1u);
    EXPECT_EQ(server.RequestLines()[0], "GET /loopforge-update.xml HTTP/1.1");
}

TEST_F(UpdateCheckTest, SilentServerEndsInTheFailureMessageAfterTheTimeOut)
{
    LocalHttpServer server{std::string()};
    m_links.option.m_updateUrl = wxString::FromUTF8(server.Url("/loopforge-update.xml"));
    wxStopWatch watch;
    const ShownMessage shown = CheckForUpdate(3 * UPDATE_CHECK_TIMEOUT_SECONDS * 1000);
    EXPECT_EQ(shown.count, 1);
    EXPECT_EQ(shown.message, kFailure);
    EXPECT_EQ(server.RequestLines().size(), 1u);
    // It gave up by itself, at its own time-out.
    EXPECT_GE(watch.Time(), (UPDATE_CHECK_TIMEOUT_SECONDS - 1) * 1000);
    EXPECT_LT(watch.Time(), 2 * UPDATE_CHECK_TIMEOUT_SECONDS * 1000);
}

TEST_F(UpdateCheckTest, UnusableAddressShowsNothing)
{
    for (const wxString address :
         {wxS("-update.xml"), wxS("ftp://127.0.0.1/a-update.xml"), wxS("file:///etc/x-update.xml")})
    {
        m_links.option.m_updateUrl = address;
        wxCommandEvent command(wxEVT_MENU, ID_MENU_CHECK_UPDATE);
        // The test run's hook fails any dialog that nobody expected.
        frame->ProcessWindowEvent(command);
        Settle(100);
    }
    g_domainOption = nullptr;
    frame->CheckForUpdate();
    Settle(100);
}
