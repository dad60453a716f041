#include "app/startup.h"

#include "window/gifframe.h"

#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/xrc/xmlres.h>

int LoadThemeResources(const wxString& installDir)
{
    const wxString themes = installDir + wxS("/Themes");
    if (!wxDir::Exists(themes))
        return 0;
    wxArrayString files;
    wxDir::GetAllFiles(themes, &files, wxS("*.xrc"), wxDIR_FILES);
    files.Sort();
    int loaded = 0;
    for (const wxString& file : files)
        if (wxXmlResource::Get()->Load(file))
            ++loaded;
    return loaded;
}

GifFrame* CreateMainFrame(wxString* error)
{
    GifFrame* frame = new GifFrame;
    if (!wxXmlResource::Get()->LoadFrame(frame, nullptr, wxS("MyFrame1")))
    {
        // The object never became a window; plain delete is right.
        delete frame;
        if (error)
            *error = wxS("The main window resource \"MyFrame1\" could not be loaded.");
        return nullptr;
    }
    wxString missing;
    if (!frame->InitFrame(&missing))
    {
        frame->Destroy();
        if (error)
            *error = wxS("The main window resource \"MyFrame1\" lacks these controls: ") + missing +
                     wxS(".");
        return nullptr;
    }
    return frame;
}
