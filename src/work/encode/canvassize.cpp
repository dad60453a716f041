#include "encode/canvassize.h"

wxSize ChooseCanvasSize(const std::vector<wxSize>& frameSizes)
{
    wxSize chosen(0, 0);
    for (const wxSize& size : frameSizes)
        if (chosen.x < size.x || chosen.y < size.y)
            chosen = size;
    return chosen;
}
