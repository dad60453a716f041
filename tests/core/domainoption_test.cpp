#include "net/domainoption.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

namespace
{
std::string OptionFile(const std::string& settings)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<options>\n" + settings + "</options>\n";
}

const std::string kSevenValues =
    "  <links>\n"
    "    <a>http://h/help</a>\n    <b>http://h/two</b>\n    <c>http://h/support</c>\n"
    "    <d>http://h/four</d>\n    <e>http://h/update</e>\n    <f>http://h/download</f>\n"
    "    <g>http://h/seven</g>\n"
    "  </links>\n";
}  // namespace

TEST(DomainOption, ReadsSevenValuesByPosition)
{
    TempDir dir;
    DomainOption option(dir.Write(wxS("option.cfg"), OptionFile(kSevenValues)));
    EXPECT_TRUE(option.LoadOptions());
    EXPECT_EQ(option.m_helpUrl, wxS("http://h/help"));
    EXPECT_EQ(option.m_supportUrl, wxS("http://h/support"));
    EXPECT_EQ(option.m_updateUrl, wxS("http://h/update-update.xml"));
    EXPECT_EQ(option.m_downloadPageUrl, wxS("http://h/download"));
    EXPECT_EQ(option.m_value7, wxS("http://h/seven"));
}

TEST(DomainOption, FiveValuesFillWhatTheyHave)
{
    TempDir dir;
    DomainOption option(dir.Write(
        wxS("option.cfg"),
        OptionFile("<s><a>1</a><b>2</b><c>3</c><d>4</d><e>http://u/x</e></s>")));
    EXPECT_FALSE(option.LoadOptions());
    EXPECT_EQ(option.m_helpUrl, wxS("1"));
    EXPECT_EQ(option.m_updateUrl, wxS("http://u/x-update.xml"));
    EXPECT_TRUE(option.m_downloadPageUrl.empty());
    EXPECT_TRUE(option.m_value7.empty());
}

TEST(DomainOption, ElementNamesDoNotMatterOrderDoes)
{
    TempDir dir;
    DomainOption renamed(dir.Write(
        wxS("renamed.cfg"),
        OptionFile("<x><q>A</q><r>B</r><t>C</t><u>D</u><v>E</v><w>F</w><z>G</z></x>")));
    EXPECT_TRUE(renamed.LoadOptions());
    EXPECT_EQ(renamed.m_helpUrl, wxS("A"));
    EXPECT_EQ(renamed.m_supportUrl, wxS("C"));

    DomainOption reordered(dir.Write(
        wxS("reordered.cfg"),
        OptionFile("<x><support>C</support><help>A</help><t>x</t><u>D</u><v>E</v><w>F</w><z>G</z></x>")));
    EXPECT_TRUE(reordered.LoadOptions());
    EXPECT_EQ(reordered.m_helpUrl, wxS("C"));
    EXPECT_EQ(reordered.m_value2, wxS("A"));
}

TEST(DomainOption, CommentsBetweenValuesAreSkipped)
{
    TempDir dir;
    DomainOption option(dir.Write(
        wxS("option.cfg"),
        OptionFile("<!-- first --><s><!-- help --><a>A</a><b>B</b><c>C</c><d>D</d><e>E</e>"
                   "<f>F</f><g>G</g></s>")));
    EXPECT_TRUE(option.LoadOptions());
    EXPECT_EQ(option.m_helpUrl, wxS("A"));
    EXPECT_EQ(option.m_value7, wxS("G"));
}

TEST(DomainOption, EmptyMissingAndMalformedFilesLeaveEverythingEmpty)
{
    TempDir dir;
    struct Case
    {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty-settings.cfg", OptionFile("<s></s>")},
        {"no-settings.cfg", OptionFile("")},
        {"not-xml.cfg", "this is not xml <<<"},
        {"truncated.cfg", OptionFile(kSevenValues).substr(0, 60)},
        {"zero.cfg", ""},
    };
    for (const Case& c : cases)
    {
        DomainOption option(dir.Write(wxString::FromUTF8(c.name), c.bytes));
        EXPECT_FALSE(option.LoadOptions()) << c.name;
        EXPECT_TRUE(option.m_helpUrl.empty()) << c.name;
        EXPECT_TRUE(option.m_updateUrl.empty()) << c.name;
    }
    DomainOption missing(dir.File(wxS("absent.cfg")));
    EXPECT_FALSE(missing.LoadOptions());
    EXPECT_TRUE(missing.m_downloadPageUrl.empty());
}

TEST(DomainOption, OnlyWebAddressesAreOpened)
{
    EXPECT_TRUE(IsWebAddress(wxS("http://example.com/help")));
    EXPECT_TRUE(IsWebAddress(wxS("HTTPS://example.com")));
    EXPECT_FALSE(IsWebAddress(wxS("file:///etc/passwd")));
    EXPECT_FALSE(IsWebAddress(wxS("javascript:alert(1)")));
    EXPECT_FALSE(IsWebAddress(wxS("/usr/bin/xterm")));
    EXPECT_FALSE(IsWebAddress(wxS("http://")));
    EXPECT_FALSE(IsWebAddress(wxString()));
}
