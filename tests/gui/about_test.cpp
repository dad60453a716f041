#include "dialog_expectations.h"
#include "domain_option_override.h"
#include "language_window_fixture.h"

#include <wx/hyperlink.h>
#include <wx/stattext.h>

namespace
{
// What the About dialog showed in its three controls.
struct AboutTexts
{
    wxString version;
    wxString notice;
    wxString linkLabel;
    wxString linkUrl;
};

class AboutDialogTest : public LanguageWindowTest
{
protected:
    AboutDialogTest()
    {
        m_links.option.m_downloadPageUrl = wxS("https://www.example.com/loopforge/download");
    }

    AboutTexts ShowAbout()
    {
        AboutTexts texts;
        auto inspect = [&texts](wxDialog* dialog)
        {
            wxStaticText* version =
                wxDynamicCast(dialog->FindWindow(XRCID("m_static_version_name")), wxStaticText);
            wxStaticText* notice =
                wxDynamicCast(dialog->FindWindow(XRCID("m_static_information")), wxStaticText);
            wxHyperlinkCtrl* link =
                wxDynamicCast(dialog->FindWindow(XRCID("m_hyperlink")), wxHyperlinkCtrl);
            ASSERT_TRUE(version && notice && link);
            texts.version = version->GetLabel();
            texts.notice = notice->GetLabel();
            texts.linkLabel = link->GetLabel();
            texts.linkUrl = link->GetURL();
        };
        wxCommandEvent about(wxEVT_MENU, ID_MENU_ABOUT);
        wxTEST_DIALOG(frame->ProcessWindowEvent(about), InspectDialog(inspect));
        return texts;
    }

    DomainOptionOverride m_links;
};
}  // namespace

TEST_F(AboutDialogTest, ShowsVersionNoticeAndDownloadPage)
{
    const AboutTexts texts = ShowAbout();
    EXPECT_EQ(texts.version, wxS("Corvanel Loopforge 3.0.8"));
    EXPECT_EQ(texts.notice, wxS("Copyright (C) 2026 Corvanel. All rights reserved."));
    EXPECT_EQ(texts.linkLabel, wxS("https://www.example.com/loopforge/download"));
    EXPECT_EQ(texts.linkUrl, texts.linkLabel);
}

TEST_F(AboutDialogTest, NoticeFollowsTheLanguage)
{
    ChooseLanguage(89);
    AboutTexts texts = ShowAbout();
    EXPECT_EQ(texts.version, wxS("Corvanel Loopforge 3.0.8"));
    EXPECT_EQ(texts.notice,
              wxString::FromUTF8("Copyright \xC2\xA9 2026 Corvanel. Alle Rechte vorbehalten."));
    EXPECT_EQ(texts.linkUrl, wxS("https://www.example.com/loopforge/download"));

    ChooseLanguage(46);
    texts = ShowAbout();
    EXPECT_EQ(texts.version, wxS("Corvanel Loopforge 3.0.8"));
    EXPECT_EQ(texts.notice,
              wxString::FromUTF8("\xE7\x89\x88\xE6\x9D\x83\xE6\x89\x80\xE6\x9C\x89 \xC2\xA9 2026 "
                                 "Corvanel. \xE4\xBF\x9D\xE7\x95\x99\xE6\x89\x80\xE6\x9C\x89\xE6"
                                 "\x9D\x83\xE5\x88\xA9\xE3\x80\x82"));
    EXPECT_EQ(texts.linkLabel, wxS("https://www.example.com/loopforge/download"));
}

TEST_F(AboutDialogTest, OnlyAWebPageBecomesTheLink)
{
    m_links.option.m_downloadPageUrl = wxS("file:///etc/passwd");
    AboutTexts texts = ShowAbout();
    EXPECT_EQ(texts.linkLabel, wxString());
    EXPECT_EQ(texts.linkUrl, wxString());

    g_domainOption = nullptr;
    texts = ShowAbout();
    EXPECT_EQ(texts.version, wxS("Corvanel Loopforge 3.0.8"));
    EXPECT_EQ(texts.linkUrl, wxString());
}

TEST_F(AboutDialogTest, MissingResourceShowsNothing)
{
    wxXmlResource empty;
    wxXmlResource* previous = wxXmlResource::Set(&empty);
    wxCommandEvent about(wxEVT_MENU, ID_MENU_ABOUT);
    // The test run's hook fails any dialog that nobody expected.
    frame->ProcessWindowEvent(about);
    wxXmlResource::Set(previous);
}
