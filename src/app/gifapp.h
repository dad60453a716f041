#ifndef LOOPFORGE_APP_GIFAPP_H
#define LOOPFORGE_APP_GIFAPP_H

#include <wx/app.h>

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

    // Creates the application-wide locale.
    void InitAppLocale();

    GifFrame* m_frame;
    wxLocale* m_locale;
};

wxDECLARE_APP(GifApp);

#endif
