#include "net/domainoption.h"

#include "temp_dir.h"
#include "wx_printers.h"

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

// The values are read by their position in the settings element: element
// names and comments do not matter. Fewer than seven fill what they have;
// an empty, missing or malformed file leaves everything empty.
TEST(DomainOption, ReadsTheValuesByPosition)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        bool complete;
        const char* help;
        const char* second;
        const char* support;
        const char* update;
        const char* download;
        const char* seventh;
    };
    const Case cases[] = {
        {"seven values", OptionFile(kSevenValues), true, "http://h/help", "http://h/two",
         "http://h/support", "http://h/update-update.xml", "http://h/download", "http://h/seven"},
        {"five values", OptionFile("<s><a>1</a><b>2</b><c>3</c><d>4</d><e>http://u/x</e></s>"),
         false, "1", "2", "3", "http://u/x-update.xml", "", ""},
        {"renamed", OptionFile("<x><q>A</q><r>B</r><t>C</t><u>D</u><v>E</v><w>F</w><z>G</z></x>"),
         true, "A", "B", "C", "E-update.xml", "F", "G"},
        {"reordered",
         OptionFile("<x><support>C</support><help>A</help><t>x</t><u>D</u><v>E</v><w>F</w>"
                    "<z>G</z></x>"),
         true, "C", "A", "x", "E-update.xml", "F", "G"},
        {"comments",
         OptionFile("<!-- first --><s><!-- help --><a>A</a><b>B</b><c>C</c><d>D</d><e>E</e>"
                    "<f>F</f><g>G</g></s>"),
         true, "A", "B", "C", "E-update.xml", "F", "G"},
        {"empty settings", OptionFile("<s></s>"), false, "", "", "", "", "", ""},
        {"no settings", OptionFile(""), false, "", "", "", "", "", ""},
        {"not XML", "this is not xml <<<", false, "", "", "", "", "", ""},
        {"truncated", OptionFile(kSevenValues).substr(0, 60), false, "", "", "", "", "", ""},
        {"empty file", "", false, "", "", "", "", "", ""},
    };
    TempDir dir;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        DomainOption option(dir.Write(wxS("option.cfg"), c.bytes));
        EXPECT_EQ(option.LoadOptions(), c.complete);
        EXPECT_EQ(option.m_helpUrl, c.help);
        EXPECT_EQ(option.m_value2, c.second);
        EXPECT_EQ(option.m_supportUrl, c.support);
        EXPECT_EQ(option.m_updateUrl, c.update);
        EXPECT_EQ(option.m_downloadPageUrl, c.download);
        EXPECT_EQ(option.m_value7, c.seventh);
    }
    DomainOption missing(dir.File(wxS("absent.cfg")));
    EXPECT_FALSE(missing.LoadOptions());
    EXPECT_TRUE(missing.m_helpUrl.empty());
}

TEST(DomainOption, OnlyWebAddressesAreOpened)
{
    EXPECT_TRUE(IsWebAddress(wxS("http://example.com/help")));
    EXPECT_TRUE(IsWebAddress(wxS("HTTPS://example.com")));
    for (const char* other :
         {"file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm", "http://", ""})
        EXPECT_FALSE(IsWebAddress(other)) << other;
}
