#ifndef LOOPFORGE_TESTS_LANGUAGE_WINDOW_FIXTURE_H
#define LOOPFORGE_TESTS_LANGUAGE_WINDOW_FIXTURE_H

// The main window with a language file of its own, and the language switch.
#include "app/language.h"
#include "main_window_fixture.h"

#include <wx/intl.h>

#include <string>

// Points the user data folder at a folder of its own while it lives.
class ScopedDocumentsDir
{
public:
    ScopedDocumentsDir() : m_previous(SetDocumentsDirOverride(m_dir.Path())) {}
    ~ScopedDocumentsDir() { SetDocumentsDirOverride(m_previous); }
    ScopedDocumentsDir(const ScopedDocumentsDir&) = delete;
    ScopedDocumentsDir& operator=(const ScopedDocumentsDir&) = delete;
    const wxString& Path() const { return m_dir.Path(); }

private:
    TempDir m_dir;
    wxString m_previous;
};

// The language file is prepared before the window starts.
class LanguageWindowTest : public MainWindowTest
{
protected:
    virtual std::string SavedLanguage() const { return std::string(); }

    void SetUp() override
    {
        if (!SavedLanguage().empty())
            WriteFileBytes(GetLanguageFilePath(), SavedLanguage());
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
        AppendFrame(frame, WritePng(dir, wxS("a.png"), 40, 30), SolidImage(40, 30, *wxRED));
        AppendFrame(frame, WritePng(dir, wxS("anim.gif"), 64, 48), SolidImage(64, 48, *wxBLUE), 3);
        ASSERT_EQ(Access().Strip()->GetCount(), 2);
        frame->EnableFrameCommands();
        frame->UpdateCanvasSize();
        frame->DrawPreviewFrame(1);
    }

    ScopedDocumentsDir m_documents;
};

#endif
