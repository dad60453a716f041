#include "window/gifoptionschoice.h"

#include "app/language.h"

wxString GetGifOptionsFilePath()
{
    return GetUserDataDir() + wxS("/gif-options.xml");
}

GifOptions LoadUserGifOptions()
{
    return LoadGifOptionsFile(GetGifOptionsFilePath());
}

bool SaveUserGifOptions(const GifOptions& options)
{
    return SaveGifOptionsFile(GetGifOptionsFilePath(), options);
}
