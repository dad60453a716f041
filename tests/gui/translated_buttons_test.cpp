#include "language_window_fixture.h"
#include "shown_buttons.h"

#include <wx/intl.h>

#include <map>

using TranslatedButtons = LanguageWindowTest;

// The system has no locale for any of the languages (the test machine has
// only C.UTF-8), so GTK's own labels would be English.
TEST_F(TranslatedButtons, EveryDialogButtonReadsInTheChosenLanguage)
{
    AddFramesAndPreview();
    for (const LanguageEntry& language : GetLanguages())
    {
        ChooseLanguage(language.code);
        const wxString yes = _("Yes");
        const wxString no = _("No");
        const wxString cancel = _("Cancel");
        const wxString ok = _("OK");
        if (language.code != LANGUAGE_CODE_ENGLISH)
        {
            EXPECT_NE(cancel, wxS("Cancel")) << language.folder << ": no catalog loaded";
        }

        {
            ShownButtons shown;
            wxCommandEvent open = Command(ID_MENU_OPEN_PROJECT);
            frame->ProcessWindowEvent(open);
            EXPECT_EQ(shown.DialogsShown(), 1) << language.folder;
            EXPECT_EQ(shown.Buttons(), (std::map<int, wxString>{
                                           {wxID_YES, yes}, {wxID_NO, no}, {wxID_CANCEL, cancel}}))
                << language.folder << ": unsaved-project prompt";
        }
        {
            ShownButtons shown;
            Access().Strip()->Select(0);
            wxCommandEvent remove = Command(ID_MENU_DELETE);
            frame->ProcessWindowEvent(remove);
            EXPECT_EQ(shown.DialogsShown(), 1) << language.folder;
            EXPECT_EQ(shown.Buttons(), (std::map<int, wxString>{{wxID_YES, yes}, {wxID_NO, no}}))
                << language.folder << ": delete question";
            EXPECT_EQ(Access().Strip()->GetCount(), 2) << "closing the question deletes nothing";
        }
        {
            ShownButtons shown;
            wxCommandEvent loopCount = Command(ID_MENU_LOOP_COUNT);
            frame->ProcessWindowEvent(loopCount);
            EXPECT_EQ(shown.DialogsShown(), 1) << language.folder;
            EXPECT_EQ(shown.Buttons(),
                      (std::map<int, wxString>{{wxID_OK, ok}, {wxID_CANCEL, cancel}}))
                << language.folder << ": loop count dialog";
        }
        {
            ShownButtons shown;
            wxCommandEvent gifOptions = Command(ID_MENU_GIF_OPTIONS);
            frame->ProcessWindowEvent(gifOptions);
            EXPECT_EQ(shown.DialogsShown(), 1) << language.folder;
            EXPECT_EQ(shown.Buttons(),
                      (std::map<int, wxString>{{wxID_OK, ok}, {wxID_CANCEL, cancel}}))
                << language.folder << ": GIF options dialog";
        }
        {
            ShownButtons shown;
            Access().Strip()->Select(0);
            wxCommandEvent frameDelay = Command(ID_MENU_FRAME_DELAY);
            frame->ProcessWindowEvent(frameDelay);
            EXPECT_EQ(shown.DialogsShown(), 1) << language.folder;
            EXPECT_EQ(shown.Buttons(),
                      (std::map<int, wxString>{{wxID_OK, ok}, {wxID_CANCEL, cancel}}))
                << language.folder << ": frame delay dialog";
        }
    }
}
