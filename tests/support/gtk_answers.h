#ifndef LOOPFORGE_TESTS_GTK_ANSWERS_H
#define LOOPFORGE_TESTS_GTK_ANSWERS_H

// Answers the native GTK parts of the window the way a user's clicks do: a
// file chooser with several files selected, and a pop-up menu item chosen.
// The tests build without GTK's headers; the toolkit has loaded GTK into the
// process, so its functions are looked up by name.
#include "gui_test_support.h"

#include <wx/menu.h>

#include <dlfcn.h>

#include <string>
#include <vector>

template <typename Signature>
Signature* GtkFunction(const char* name)
{
    return reinterpret_cast<Signature*>(dlsym(RTLD_DEFAULT, name));
}

// Selects every file of a folder that the chooser (opened with wxFD_MULTIPLE)
// lists under one of its file types, and presses OK. The chooser keeps only
// the last of several single selections, so the files to choose get a folder
// of their own.
class ExpectPictureFiles : public wxExpectModalBase<wxFileDialog, ExpectPictureFiles>
{
public:
    ExpectPictureFiles(const wxString& folder, const wxString& title, size_t count,
                       int fileType = 0)
        : m_folder(folder), m_title(title), m_count(count), m_fileType(fileType)
    {
    }

protected:
    int OnInvoked(wxFileDialog* dlg) const override
    {
        EXPECT_EQ(dlg->GetMessage(), m_title);
        EXPECT_TRUE(dlg->HasFlag(wxFD_MULTIPLE));
        auto* setFolder =
            GtkFunction<int(void*, const char*)>("gtk_file_chooser_set_current_folder");
        auto* getFolder = GtkFunction<char*(void*)>("gtk_file_chooser_get_current_folder");
        auto* selectAll = GtkFunction<void(void*)>("gtk_file_chooser_select_all");
        auto* freeText = GtkFunction<void(void*)>("g_free");
        if (!setFolder || !getFolder || !selectAll || !freeText)
        {
            ADD_FAILURE() << "GTK's file chooser is not loaded";
            return wxID_CANCEL;
        }
        dlg->SetFilterIndex(m_fileType);
        setFolder(dlg->GetHandle(), m_folder.utf8_str());
        // The chooser reads the folder asynchronously; it has no list to
        // select in before it shows the folder.
        wxArrayString chosen;
        for (wxStopWatch sw; sw.Time() < 5000; wxYield())
        {
            char* current = getFolder(dlg->GetHandle());
            const bool shown = current && wxString::FromUTF8(current) == m_folder;
            freeText(current);
            if (!shown)
                continue;
            selectAll(dlg->GetHandle());
            dlg->GetPaths(chosen);
            if (chosen.size() == m_count)
                break;
        }
        EXPECT_EQ(chosen.size(), m_count);
        return wxID_OK;
    }

private:
    wxString m_folder;
    wxString m_title;
    size_t m_count;
    int m_fileType;
};

// Waits for the next pop-up menu the window opens, records its items and
// chooses the one with the given id through GTK, as a click on it would.
class PopupMenuAnswer
{
public:
    struct Item
    {
        int id;
        wxString label;
    };

    PopupMenuAnswer(wxWindow* window, int chooseId) : m_window(window), m_chooseId(chooseId)
    {
        m_window->Bind(wxEVT_MENU_OPEN, &PopupMenuAnswer::OnOpen, this);
    }
    ~PopupMenuAnswer() { m_window->Unbind(wxEVT_MENU_OPEN, &PopupMenuAnswer::OnOpen, this); }
    PopupMenuAnswer(const PopupMenuAnswer&) = delete;
    PopupMenuAnswer& operator=(const PopupMenuAnswer&) = delete;

    const std::vector<Item>& Items() const { return m_items; }
    bool Opened() const { return m_opened; }
    // Called when the menu opens, before the choice is made.
    std::function<void()> onOpen;

private:
    void OnOpen(wxMenuEvent& event)
    {
        event.Skip();
        wxMenu* menu = event.GetMenu();
        if (!menu || !event.IsPopup() || m_opened)
            return;
        m_opened = true;
        if (onOpen)
            onOpen();
        for (const wxMenuItem* item : menu->GetMenuItems())
            m_items.push_back({item->GetId(), item->GetItemLabel()});
        wxMenuItem* chosen = menu->FindItem(m_chooseId);
        if (!chosen)
        {
            ADD_FAILURE() << "the pop-up menu has no item " << m_chooseId;
            return;
        }
        // Once the menu is up, as a user's click would be.
        m_window->CallAfter(
            [menu, chosen]
            {
                auto* activate =
                    GtkFunction<void(void*, void*, int)>("gtk_menu_shell_activate_item");
                ASSERT_NE(activate, nullptr);
                activate(menu->m_menu, chosen->GetMenuItem(), 1);
            });
    }

    wxWindow* m_window;
    int m_chooseId;
    bool m_opened = false;
    std::vector<Item> m_items;
};

#endif
