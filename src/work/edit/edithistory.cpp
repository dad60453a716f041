#include "edit/edithistory.h"

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

EditState EditHistory::Step(std::deque<EditState>& from, std::deque<EditState>& to,
                            const EditState& current)
{
    m_joinable = EditKind::Frames;
    EditState state = std::move(from.back());
    from.pop_back();
    to.push_back(current);
    return state;
}

EditState EditHistory::Undo(const EditState& current)
{
    return Step(m_undo, m_redo, current);
}

EditState EditHistory::Redo(const EditState& current)
{
    return Step(m_redo, m_undo, current);
}

EditState EditHistory::TakeBack()
{
    m_joinable = EditKind::Frames;
    EditState state = std::move(m_undo.back());
    m_undo.pop_back();
    return state;
}

void EditHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
    m_joinable = EditKind::Frames;
}
