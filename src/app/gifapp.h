#ifndef LOOPFORGE_APP_GIFAPP_H
#define LOOPFORGE_APP_GIFAPP_H

#include <wx/app.h>
#include <wx/arrstr.h>

class GifFrame;
class wxLocale;

// The application: start-up, shutdown and the crash report.
class GifApp : public wxApp
{
public:
    GifApp();

    bool OnInit() override;
    int OnExit() override;
    void OnFatalException() override;
    // loopforge [PICTURES | PROJECT.xml]...
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;

    // Creates the application-wide locale.
    void InitAppLocale();

    GifFrame* m_frame;
    wxLocale* m_locale;
    // Files named on the command line, opened once the window is up.
    wxArrayString m_startFiles;
};

wxDECLARE_APP(GifApp);

#endif
