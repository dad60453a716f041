#include "work/edithistory.h"

void EditHistory::Record(const EditState& before, EditKind kind)
{
    m_redo.clear();
    const bool joins = kind != EditKind::Frames && kind == m_joinable && !m_undo.empty();
    m_joinable = kind;
    if (joins)
        return;
    m_undo.push_back(before);
    while (m_undo.size() > m_limit)
        m_undo.pop_front();
}

EditState EditHistory::Undo(const EditState& current)
{
    m_joinable = EditKind::Frames;
    EditState previous = std::move(m_undo.back());
    m_undo.pop_back();
    m_redo.push_back(current);
    return previous;
}

EditState EditHistory::Redo(const EditState& current)
{
    m_joinable = EditKind::Frames;
    EditState next = std::move(m_redo.back());
    m_redo.pop_back();
    m_undo.push_back(current);
    return next;
}

void EditHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
    m_joinable = EditKind::Frames;
}
