#include "app/gifapp.h"

// TODO(languages): the application locale.
void GifApp::InitAppLocale()
{
}
