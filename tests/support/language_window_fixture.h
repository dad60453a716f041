#ifndef LOOPFORGE_TESTS_LANGUAGE_WINDOW_FIXTURE_H
#define LOOPFORGE_TESTS_LANGUAGE_WINDOW_FIXTURE_H

// The main window with a language file of its own, and the language switch.
#include "app/language.h"
#include "frame_factory.h"
#include "main_window_fixture.h"
#include "temp_dir.h"
#include "window/thumbnailctrl.h"

#include <wx/ffile.h>
#include <wx/intl.h>

#include <string>

inline void WriteBytes(const wxString& path, const std::string& bytes)
{
    wxFFile file(path, wxS("wb"));
    file.Write(bytes.data(), bytes.size());
}

// The language file is prepared before the window starts.
class LanguageWindowTest : public MainWindowTest
{
protected:
    virtual std::string SavedLanguage() const { return std::string(); }

    void SetUp() override
    {
        m_previousDocuments = SetDocumentsDirOverride(m_documents.Path());
        if (!SavedLanguage().empty())
            WriteBytes(GetLanguageFilePath(), SavedLanguage());
        MainWindowTest::SetUp();
    }

    void TearDown() override
    {
        // The window's locale outlives the window; the next tests start from
        // the locale that was in force before this one.
        if (frame)
        {
            delete Access().Locale();
            Access().Locale() = nullptr;
        }
        MainWindowTest::TearDown();
        SetDocumentsDirOverride(m_previousDocuments);
    }

    void ChooseLanguage(int code)
    {
        wxCommandEvent event(wxEVT_MENU, code);
        frame->ProcessWindowEvent(event);
        Settle();
    }

    wxMenuItem* CheckedLanguageItem() const
    {
        wxMenuItem* checked = nullptr;
        for (wxMenuItem* item : Access().LanguageMenu()->GetMenuItems())
        {
            if (item->IsChecked())
            {
                EXPECT_EQ(checked, nullptr) << "two language items are checked";
                checked = item;
            }
        }
        return checked;
    }

    // Two frames in the strip, the second shown in the preview.
    void AddFramesAndPreview()
    {
        wxThumbnailCtrl* strip = Access().Strip();
        AppendFrame(strip, WritePng(m_pictures, wxS("a.png"), 40, 30), SolidImage(40, 30, *wxRED));
        AppendFrame(strip, WritePng(m_pictures, wxS("anim.gif"), 64, 48),
                    SolidImage(64, 48, *wxBLUE), 3);
        ASSERT_EQ(strip->GetCount(), 2);
        frame->EnableFrameCommands();
        frame->UpdateCanvasSize();
        frame->DrawPreviewFrame(1);
    }

    TempDir m_pictures;
    TempDir m_documents;
    wxString m_previousDocuments;
};

#endif
