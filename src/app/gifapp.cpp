#include "app/gifapp.h"

#include "app/crashreport.h"
#include "app/paths.h"
#include "app/product.h"
#include "app/startup.h"
#include "net/domainoption.h"
#include "window/gifframe.h"
#include "window/translatedbuttons.h"

#include <wx/cmdline.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

#include <iostream>

GifApp::GifApp() : m_frame(nullptr), m_locale(nullptr)
{
    wxHandleFatalExceptions(true);
}

bool GifApp::OnInit()
{
    if (!wxApp::OnInit())
        return false;

    InitAppLocale();

    // No toolkit message boxes for missing pictures or broken resources.
    wxLogNull noLog;

    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    const wxString installDir = GetInstallDir();
    LoadThemeResources(installDir);

    std::cout << GetOptionFilePath().utf8_string() << std::endl;
    g_domainOption = new DomainOption(GetOptionFilePath());
    g_domainOption->LoadOptions();

    wxString error;
    GifFrame* frame = CreateMainFrame(&error);
    if (!frame)
    {
        const wxString message = error + wxS("\n\n") +
                                 wxString::Format(wxS("Looked in \"%s/Themes\"."), installDir) +
                                 wxS("\nThe installation is incomplete; please reinstall the program.");
        std::cerr << message.utf8_string() << std::endl;
        ShowMessageBox(nullptr, message, GetProductName(), wxOK | wxICON_ERROR | wxCENTRE);
        delete g_domainOption;
        g_domainOption = nullptr;
        return false;
    }
    m_frame = frame;
    m_frame->Show();
    // Opened from the event loop, where the import's progress and any
    // question about unsaved work run as they do for the menu commands.
    if (!m_startFiles.empty())
        m_frame->CallAfter([frame, files = m_startFiles] { frame->OpenFiles(files); });
    return true;
}

void GifApp::OnInitCmdLine(wxCmdLineParser& parser)
{
    wxApp::OnInitCmdLine(parser);
    parser.AddParam(wxS("PICTURES | PROJECT.xml"), wxCMD_LINE_VAL_STRING,
                    wxCMD_LINE_PARAM_OPTIONAL | wxCMD_LINE_PARAM_MULTIPLE);
}

bool GifApp::OnCmdLineParsed(wxCmdLineParser& parser)
{
    for (size_t i = 0; i < parser.GetParamCount(); ++i)
        m_startFiles.Add(parser.GetParam(i));
    return wxApp::OnCmdLineParsed(parser);
}

int GifApp::OnExit()
{
    delete g_domainOption;
    g_domainOption = nullptr;
    return wxApp::OnExit();
}

void GifApp::OnFatalException()
{
    BuildCrashReport();
}
