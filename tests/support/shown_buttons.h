#ifndef LOOPFORGE_TESTS_SHOWN_BUTTONS_H
#define LOOPFORGE_TESTS_SHOWN_BUTTONS_H

// Lets the modal dialogs opened in its lifetime really show, reads the texts
// GTK draws on their buttons, and closes each with Cancel. The text is read
// from the label widget on screen, so a stock button GTK labels in the system
// language is seen as such.
#include "gtk_answers.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/pickerbase.h>
#include <wx/timer.h>

#include <map>

class ShownButtons : public wxModalDialogHook
{
public:
    ShownButtons() : m_poll(this)
    {
        if (StrayDialogHook())
            StrayDialogHook()->Unregister();
        Register();
    }
    ~ShownButtons() override
    {
        Unregister();
        if (StrayDialogHook())
            StrayDialogHook()->Register();
    }
    ShownButtons(const ShownButtons&) = delete;
    ShownButtons& operator=(const ShownButtons&) = delete;

    // Button id -> the text shown on it, for the last dialog shown.
    const std::map<int, wxString>& Buttons() const { return m_buttons; }
    int DialogsShown() const { return m_shown; }

protected:
    int Enter(wxDialog* dialog) override
    {
        m_dialog = dialog;
        m_buttons.clear();
        m_poll.Start(20);
        return wxID_NONE;
    }
    void Exit(wxDialog*) override
    {
        m_poll.Stop();
        m_dialog = nullptr;
    }

private:
    struct GList
    {
        void* data;
        GList* next;
        GList* prev;
    };
    enum GtkResponse
    {
        GTK_RESPONSE_OK = -5,
        GTK_RESPONSE_CANCEL = -6,
        GTK_RESPONSE_YES = -8,
        GTK_RESPONSE_NO = -9
    };

    class PollTimer : public wxTimer
    {
    public:
        explicit PollTimer(ShownButtons* owner) : m_owner(owner) {}
        void Notify() override { m_owner->ReadWhenOnScreen(); }

    private:
        ShownButtons* m_owner;
    };

    static bool IsA(void* widget, const char* typeFunction)
    {
        auto* type = GtkFunction<unsigned long()>(typeFunction);
        auto* isA = GtkFunction<int(void*, unsigned long)>("g_type_check_instance_is_a");
        return type && isA && isA(widget, type());
    }

    // The text of the first label inside a widget, as drawn (no mnemonic marks).
    static wxString ShownText(void* widget)
    {
        if (IsA(widget, "gtk_label_get_type"))
            return wxString::FromUTF8(
                GtkFunction<const char*(void*)>("gtk_label_get_text")(widget));
        if (!IsA(widget, "gtk_container_get_type"))
            return wxString();
        wxString text;
        GList* children = GtkFunction<GList*(void*)>("gtk_container_get_children")(widget);
        for (GList* child = children; child && text.empty(); child = child->next)
            text = ShownText(child->data);
        GtkFunction<void(GList*)>("g_list_free")(children);
        return text;
    }

    static void CollectButtons(wxWindow* window, std::map<int, wxString>& buttons)
    {
        for (wxWindow* child : window->GetChildren())
        {
            // A picker's button shows its value (a colour, a file), not a label.
            if (wxDynamicCast(child, wxPickerBase))
                continue;
            if (auto* button = wxDynamicCast(child, wxButton))
                buttons[button->GetId()] = ShownText(button->GetHandle());
            CollectButtons(child, buttons);
        }
    }

    void ReadWhenOnScreen()
    {
        if (!m_dialog)
            return;
        void* widget = m_dialog->GetHandle();
        auto* mapped = GtkFunction<int(void*)>("gtk_widget_get_mapped");
        if (!widget || !mapped || !mapped(widget))
            return;
        m_poll.Stop();
        ++m_shown;
        if (dynamic_cast<wxMessageDialog*>(m_dialog))
        {
            // A message box is GTK's own dialog; its buttons are found by response.
            auto* forResponse =
                GtkFunction<void*(void*, int)>("gtk_dialog_get_widget_for_response");
            const std::pair<int, int> responses[] = {{wxID_YES, GTK_RESPONSE_YES},
                                                     {wxID_NO, GTK_RESPONSE_NO},
                                                     {wxID_CANCEL, GTK_RESPONSE_CANCEL},
                                                     {wxID_OK, GTK_RESPONSE_OK}};
            for (const auto& [id, response] : responses)
                if (void* button = forResponse(widget, response))
                    m_buttons[id] = ShownText(button);
            GtkFunction<void(void*, int)>("gtk_dialog_response")(widget, GTK_RESPONSE_CANCEL);
        }
        else
        {
            CollectButtons(m_dialog, m_buttons);
            m_dialog->EndModal(wxID_CANCEL);
        }
    }

    PollTimer m_poll;
    wxDialog* m_dialog = nullptr;
    std::map<int, wxString> m_buttons;
    int m_shown = 0;
};

#endif
