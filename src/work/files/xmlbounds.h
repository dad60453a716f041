#ifndef LOOPFORGE_WORK_XMLBOUNDS_H
#define LOOPFORGE_WORK_XMLBOUNDS_H

#include <cstddef>

// Limits on the shape of an XML document, checked on its bytes before the
// toolkit's parser builds a tree of it. That tree is destroyed recursively
// (deep nesting overflows the stack), grows a text by copying it whole for
// every line break or reference in it, and walks all earlier attributes of
// an element to add one (both quadratic). Within these limits a document
// parses in time proportional to its size.
struct XmlBounds
{
    std::size_t maxDepth;       // elements open at once
    std::size_t maxTokenBytes;  // one text between tags, one tag, comment or section
    std::size_t maxTextBreaks;  // line breaks, references and "]" in one text
    std::size_t maxAttributes;  // attributes of one element
};

enum class XmlBoundsCheck
{
    WithinBounds,  // not necessarily well-formed: the parser decides that
    TooDeep,
    TooLong,     // a text, tag or other token beyond the limits
    NotPlainXml  // a document type declaration (entities) or a NUL byte
};

// The bounds of the program's own documents (projects, remembered options),
// far beyond anything it writes.
extern const XmlBounds kProjectXmlBounds;

// One pass over the bytes; it does not parse them.
XmlBoundsCheck CheckXmlBounds(const char* data, std::size_t size, const XmlBounds& bounds);

#endif
