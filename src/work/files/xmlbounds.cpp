#include "files/xmlbounds.h"

#include <algorithm>
#include <cstring>

const XmlBounds kProjectXmlBounds = {16, 32 * 1024, 256, 16};

namespace
{
bool StartsWith(const char* p, const char* end, const char* literal)
{
    const std::size_t length = std::strlen(literal);
    return static_cast<std::size_t>(end - p) >= length && std::memcmp(p, literal, length) == 0;
}

// The first occurrence of terminator at or after p, or end.
const char* Find(const char* p, const char* end, const char* terminator)
{
    return std::search(p, end, terminator, terminator + std::strlen(terminator));
}

// Just past a terminator of the given length found at close, or end when none was found.
const char* After(const char* close, const char* end, std::size_t length)
{
    return close == end ? end : close + length;
}

// The end of a tag that starts at p: its '>' (outside quoted values), or end.
const char* TagEnd(const char* p, const char* end, std::size_t& attributes)
{
    char quote = 0;
    for (++p; p < end; ++p)
    {
        if (quote)
        {
            if (*p == quote)
                quote = 0;
        }
        else if (*p == '"' || *p == '\'')
            quote = *p;
        else if (*p == '=')
            ++attributes;
        else if (*p == '>')
            break;
    }
    return p;
}

// The text of one element between two tags, as the parser hands it over in
// pieces: a piece ends at every line break, reference and "]".
class TextRun
{
public:
    explicit TextRun(const XmlBounds& bounds) : m_bounds(bounds) {}

    bool Add(const char* p, const char* end)
    {
        m_bytes += static_cast<std::size_t>(end - p);
        for (; p < end; ++p)
            if (*p == '\n' || *p == '\r' || *p == '&' || *p == ']')
                ++m_breaks;
        return m_bytes <= m_bounds.maxTokenBytes && m_breaks <= m_bounds.maxTextBreaks;
    }
    void End() { m_bytes = m_breaks = 0; }

private:
    const XmlBounds& m_bounds;
    std::size_t m_bytes = 0;
    std::size_t m_breaks = 0;
};
}  // namespace

XmlBoundsCheck CheckXmlBounds(const char* data, std::size_t size, const XmlBounds& bounds)
{
    const char* const end = data + size;
    if (std::memchr(data, '\0', size))
        return XmlBoundsCheck::NotPlainXml;
    const auto tooLong = [&](const char* from, const char* to)
    { return static_cast<std::size_t>(to - from) > bounds.maxTokenBytes; };

    TextRun text(bounds);
    std::size_t depth = 0;
    const char* p = data;
    while (p < end)
    {
        if (*p != '<')
        {
            const char* next = static_cast<const char*>(std::memchr(p, '<', end - p));
            next = next ? next : end;
            if (!text.Add(p, next))
                return XmlBoundsCheck::TooLong;
            p = next;
        }
        else if (StartsWith(p, end, "<![CDATA["))
        {
            const char* close = Find(p + 9, end, "]]>");
            if (!text.Add(p + 9, close))
                return XmlBoundsCheck::TooLong;
            p = After(close, end, 3);
        }
        else if (StartsWith(p, end, "<!--") || StartsWith(p, end, "<?"))
        {
            const bool comment = p[1] == '!';
            const char* close = Find(p + 2, end, comment ? "-->" : "?>");
            if (tooLong(p, close))
                return XmlBoundsCheck::TooLong;
            p = After(close, end, comment ? 3 : 2);
        }
        else if (StartsWith(p, end, "<!"))
        {
            // A document type declaration can define entities; these documents never have one.
            return XmlBoundsCheck::NotPlainXml;
        }
        else
        {
            std::size_t attributes = 0;
            const char* close = TagEnd(p, end, attributes);
            if (tooLong(p, close) || attributes > bounds.maxAttributes)
                return XmlBoundsCheck::TooLong;
            text.End();
            if (p + 1 < end && p[1] == '/')
                depth -= depth > 0 ? 1 : 0;
            else if (close == end || close[-1] != '/')
            {
                if (++depth > bounds.maxDepth)
                    return XmlBoundsCheck::TooDeep;
            }
            p = After(close, end, 1);
        }
    }
    return XmlBoundsCheck::WithinBounds;
}
