#include "language_window_fixture.h"
#include "shown_buttons.h"

#include "window/captionlistdialog.h"

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

        const std::map<int, wxString> yesNoCancel = {
            {wxID_YES, yes}, {wxID_NO, no}, {wxID_CANCEL, cancel}};
        const std::map<int, wxString> yesNo = {{wxID_YES, yes}, {wxID_NO, no}};
        const std::map<int, wxString> okCancel = {{wxID_OK, ok}, {wxID_CANCEL, cancel}};
        const std::map<int, wxString> captionList = {
            {CaptionListDialog::ID_EDIT, wxGetTranslation(wxString::FromUTF8("Edit…"))},
            {CaptionListDialog::ID_DELETE, _("Delete")},
            {wxID_CANCEL, _("Close")}};
        const struct
        {
            int command;
            const char* dialog;
            const std::map<int, wxString>& buttons;
        } dialogs[] = {{ID_MENU_OPEN_PROJECT, "unsaved-project prompt", yesNoCancel},
                       {ID_MENU_DELETE, "delete question", yesNo},
                       {ID_MENU_LOOP_COUNT, "loop count dialog", okCancel},
                       {ID_MENU_GIF_OPTIONS, "GIF options dialog", okCancel},
                       {ID_MENU_FRAME_DELAY, "frame delay dialog", okCancel},
                       {ID_MENU_ADD_CAPTION, "caption dialog", okCancel},
                       {ID_MENU_CAPTIONS, "captions list", captionList}};
        for (const auto& d : dialogs)
        {
            ShownButtons shown;
            Access().Strip()->Select(0);
            wxCommandEvent command = Command(d.command);
            frame->ProcessWindowEvent(command);
            EXPECT_EQ(shown.DialogsShown(), 1) << language.folder << ": " << d.dialog;
            EXPECT_EQ(shown.Buttons(), d.buttons) << language.folder << ": " << d.dialog;
        }
        EXPECT_EQ(Access().Strip()->GetCount(), 2) << "closing the questions changes nothing";
    }
}
