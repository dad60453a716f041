#ifndef LOOPFORGE_TESTS_WX_PRINTERS_H
#define LOOPFORGE_TESTS_WX_PRINTERS_H

// Readable failure messages for toolkit types.
#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <ostream>

inline void PrintTo(const wxString& s, std::ostream* os)
{
    *os << '"' << s.utf8_string() << '"';
}
inline void PrintTo(const wxColour& c, std::ostream* os)
{
    *os << "rgb(" << int(c.Red()) << ", " << int(c.Green()) << ", " << int(c.Blue()) << ")";
}
inline void PrintTo(const wxSize& s, std::ostream* os)
{
    *os << s.x << "x" << s.y;
}
inline void PrintTo(const wxPoint& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}
inline void PrintTo(const wxRect& r, std::ostream* os)
{
    *os << "(" << r.x << ", " << r.y << ", " << r.width << "x" << r.height << ")";
}

#endif
