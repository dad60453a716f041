#include "net/updatecheck.h"

#include "local_http_server.h"
#include "temp_dir.h"
#include "wx_printers.h"

#include <gtest/gtest.h>

#include <wx/mstream.h>
#include <wx/stopwatch.h>

#include <tuple>

namespace
{
wxString LatestIn(const std::string& document)
{
    wxMemoryInputStream stream(document.data(), document.size());
    return GetLatestVersion(stream);
}

const std::string kDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<products>\n"
    "  <product name=\"Other Tool\" version=\"9.9.9\"/>\n"
    "  <product name=\"Corvanel Loopforge\" version=\"3.0.9\"/>\n"
    "</products>\n";
}  // namespace

// The version is the attribute after one whose value is exactly the product
// name, whatever the attributes are called; a later entry wins.
TEST(GetLatestVersion, TakesTheAttributeAfterTheExactProductName)
{
    const std::pair<std::string, const char*> cases[] = {
        {kDocument, "3.0.9"},
        {"<r><x a=\"1\" b=\"Corvanel Loopforge\" c=\"3.2.0\" d=\"z\"/></r>", "3.2.0"},
        {"<r><e p=\"Corvanel Loopforge\" v=\"3.0.9\"/><e q=\"x\"/>"
         "<e p=\"Corvanel Loopforge\" v=\"3.1.0\"/><e p=\"Other\" v=\"7\"/></r>",
         "3.1.0"},
        {"<r><e p=\"Corvanel Loopforge\"/></r>", ""},
        {"<r><e v=\"1.0\" p=\"Corvanel Loopforge\"/></r>", ""},
        {"<r><e p=\"corvanel loopforge\" v=\"3.0.9\"/></r>", ""},
        {"<r><e p=\"CORVANEL LOOPFORGE\" v=\"3.0.9\"/></r>", ""},
        {"<r><e p=\"Other Tool\" v=\"3.0.9\"/></r>", ""},
        // Broken documents give nothing.
        {"", ""},
        {"<r><e p=\"Corvanel Loopforge\" v=\"3.0.9\"></r>", ""},
        {"not xml at all", ""},
    };
    for (const auto& [document, version] : cases)
        EXPECT_EQ(LatestIn(document), version) << document;
}

// What no update document is gives nothing, before a tree is built of it:
// the window parses the reply on its own thread.
TEST(GetLatestVersion, RefusesWhatNoUpdateDocumentIs)
{
    const std::string entry = "<e p=\"Corvanel Loopforge\" v=\"3.0.9\"/>";
    std::string unclosed = "<r>" + entry;
    for (int i = 0; i < 150000; ++i)
        unclosed += "<a>";
    std::string lines;
    for (int i = 0; i < 50000; ++i)
        lines += "n\n";
    const std::pair<std::string, const char*> cases[] = {
        {unclosed, ""},
        {"<r>" + entry + "<t>" + lines + "</t></r>", ""},
        {"<r>" + entry + "<t>" + lines.substr(0, 20000) + "</t></r>", ""},
        {"<r>" + entry + "<!--" + std::string(70 * 1024, '-') + "--></r>", ""},
        {"<r><e p=\"Corvanel Loopforge\" v=\"" + std::string(60000, '9') + "\"/></r>", ""},
        {"<!DOCTYPE r [<!ENTITY v \"3.0.9\">]><r><e p=\"Corvanel Loopforge\" v=\"&v;\"/></r>", ""},
        // Within the bounds: a few levels and fifty lines are fine.
        {"<r><a><b>" + entry + "</b></a>" + entry + "<t>" + lines.substr(0, 100) + "</t></r>",
         "3.0.9"},
    };
    for (const auto& [document, version] : cases)
        EXPECT_EQ(LatestIn(document), version) << document.substr(0, 80);

    // Only a short dotted number is a version the window shows.
    const std::pair<const char*, const char*> versions[] = {
        {"3.1", "3.1"},     {"1.2.3.4.5.6.7.8.9", "1.2.3.4.5.6.7.8.9"},
        {"3.0.9-beta", ""}, {"v3.1", ""},
        {"3..1", ""},       {"3.1.", ""},
        {".3", ""},         {"1.2.3.4.5.6.7.8.9.10", ""},
        {"1234567.0", ""},  {" 3.1", ""},
    };
    for (const auto& [attribute, version] : versions)
        EXPECT_EQ(
            LatestIn(std::string("<r><e p=\"Corvanel Loopforge\" v=\"") + attribute + "\"/></r>"),
            version)
            << attribute;
}

// Negative only when the latest version is newer; numbers, not characters,
// are compared, missing parts count as zero and other characters are skipped.
TEST(CompareVersions, NegativeOnlyWhenLatestIsNewer)
{
    const std::tuple<const char*, const char*, int> cases[] = {
        {"3.0.8", "3.0.8", 0},    {"3.0.8", "3.0.9", -1},  {"3.0.8", "3.1", -1},
        {"3.0.8", "4.0.0", -1},   {"3.0.8", "3.0.7", 1},   {"3.0.8", "2.9.9", 1},
        {"3.0.8", "3.0.10", -1},  {"3.0.9", "3.0.10", -1}, {"9.1", "10.0", -1},
        {"3.0.8", "3.0.8.1", -1}, {"3.0.8", "3.0.8.0", 0}, {"3.0", "3", 0},
        {"3.0.8", "v3.0.8", 0}};
    for (const auto& [current, latest, sign] : cases)
    {
        const int result = CompareVersions(current, latest);
        EXPECT_EQ((result > 0) - (result < 0), sign) << current << " against " << latest;
    }
}

TEST(UpdateAddress, OnlyWellFormedWebAddresses)
{
    EXPECT_TRUE(IsUpdateAddress(wxS("http://127.0.0.1:8080/loopforge-update.xml")));
    EXPECT_TRUE(IsUpdateAddress(wxS("https://downloads.example.com/loopforge-update.xml")));
    EXPECT_TRUE(IsUpdateAddress(wxS("HTTPS://downloads.example.com/a-update.xml")));
    EXPECT_FALSE(IsUpdateAddress(wxS("-update.xml")));
    EXPECT_FALSE(IsUpdateAddress(wxS("ftp://downloads.example.com/a-update.xml")));
    EXPECT_FALSE(IsUpdateAddress(wxS("file:///etc/passwd")));
    EXPECT_FALSE(IsUpdateAddress(wxS("javascript:alert(1)")));
    EXPECT_FALSE(IsUpdateAddress(wxS("http://exa mple.com/a-update.xml")));
}

TEST(RequestLatestVersion, FetchesTheDocumentFromTheServer)
{
    LocalHttpServer server(LocalHttpServer::Response(200, kDocument));
    ASSERT_TRUE(server.IsRunning());
    const wxString url = wxString::FromUTF8(server.Url("/loopforge-update.xml"));
    EXPECT_EQ(RequestLatestVersion(url, 5), wxS("3.0.9"));
    const std::vector<std::string> requests = server.RequestLines();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], "GET /loopforge-update.xml HTTP/1.1");
}

TEST(RequestLatestVersion, ServerErrorsAndUnusableAnswersGiveNothing)
{
    // Megabytes are no update document; the transfer is cut off.
    const std::string huge =
        "<r><e p=\"Corvanel Loopforge\" v=\"3.0.9\"/>" + std::string(2 * 1024 * 1024, ' ') + "</r>";
    for (const std::string& response :
         {LocalHttpServer::Response(404, kDocument), LocalHttpServer::Response(500, "oops"),
          LocalHttpServer::Response(200, huge)})
    {
        LocalHttpServer server(response);
        EXPECT_EQ(RequestLatestVersion(wxString::FromUTF8(server.Url("/a-update.xml")), 5),
                  wxString())
            << response.substr(0, response.find("\r\n"));
    }
}

TEST(RequestLatestVersion, FollowsRedirectsOnlyToWebAddresses)
{
    LocalHttpServer target(LocalHttpServer::Response(200, kDocument));
    LocalHttpServer moved(LocalHttpServer::Response(
        301, "", "Location: " + target.Url("/moved-update.xml") + "\r\n"));
    EXPECT_EQ(RequestLatestVersion(wxString::FromUTF8(moved.Url("/a-update.xml")), 5),
              wxS("3.0.9"));
    ASSERT_EQ(target.RequestLines().size(), 1u);
    EXPECT_EQ(target.RequestLines()[0], "GET /moved-update.xml HTTP/1.1");

    // A readable local document must not be reached through a redirect.
    TempDir dir;
    const wxString local = dir.Write(wxS("update.xml"), kDocument);
    LocalHttpServer toFile(
        LocalHttpServer::Response(302, "", "Location: file://" + local.utf8_string() + "\r\n"));
    EXPECT_EQ(RequestLatestVersion(wxString::FromUTF8(toFile.Url("/a-update.xml")), 5), wxString());
    EXPECT_EQ(toFile.RequestLines().size(), 1u);
}

TEST(RequestLatestVersion, GivesUpOnAServerThatNeverAnswers)
{
    LocalHttpServer server{std::string()};
    ASSERT_TRUE(server.IsRunning());
    wxStopWatch watch;
    EXPECT_EQ(RequestLatestVersion(wxString::FromUTF8(server.Url("/a-update.xml")), 1), wxString());
    // The request was made and abandoned, not refused.
    EXPECT_EQ(server.RequestLines().size(), 1u);
    EXPECT_LT(watch.Time(), 8000);
}

TEST(RequestLatestVersion, NoServerGivesNothing)
{
    int port;
    {
        LocalHttpServer closed(LocalHttpServer::Response(200, kDocument));
        port = std::stoi(closed.Url("").substr(std::string("http://127.0.0.1:").size()));
    }
    const wxString url = wxString::Format(wxS("http://127.0.0.1:%d/a-update.xml"), port);
    EXPECT_EQ(RequestLatestVersion(url, 2), wxString());
}

TEST(RequestLatestVersion, FetchesNothingButWebAddresses)
{
    LocalHttpServer server(LocalHttpServer::Response(200, kDocument));
    const std::string hostAndPath = server.Url("/a-update.xml").substr(std::string("http").size());
    EXPECT_EQ(RequestLatestVersion(wxString::FromUTF8("ftp" + hostAndPath), 2), wxString());
    EXPECT_EQ(RequestLatestVersion(wxS("file:///etc/hostname"), 2), wxString());
    EXPECT_TRUE(server.RequestLines().empty());
}
