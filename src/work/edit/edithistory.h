#ifndef LOOPFORGE_WORK_EDITHISTORY_H
#define LOOPFORGE_WORK_EDITHISTORY_H

#include "edit/framelist.h"

#include <wx/gdicmn.h>

#include <cstddef>
#include <deque>

// Everything an edit of the work can change: the frames and the animation's
// settings. Copies share the frames' pictures, so keeping many costs little.
struct EditState
{
    FrameList frames;
    int delay = 0;            // the animation's delay, hundredths of a second
    wxSize size;              // the output size
    wxSize reference;         // the size whose ratio the width and height keep
    bool sizeChosen = false;  // the user set the size; edits of the strip keep it
    CropArea crop;            // the part of every frame kept
};

// What kind of edit a step records. Steps of the same settings kind that
// follow each other make one step, as typing a number digit by digit does.
enum class EditKind
{
    Frames,
    Delay,
    Size
};

// The undo and redo history: the states before the recorded edits and those
// undone since, the oldest dropped beyond the limit.
class EditHistory
{
public:
    static constexpr size_t kDefaultLimit = 100;

    explicit EditHistory(size_t limit = kDefaultLimit) : m_limit(limit) {}

    // Records the state before an edit; a new edit forgets what was undone.
    void Record(const EditState& before, EditKind kind = EditKind::Frames);
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // The state to go back to; current is kept for Redo. Needs CanUndo().
    EditState Undo(const EditState& current);
    // The state undone last; current is kept for Undo. Needs CanRedo().
    EditState Redo(const EditState& current);
    void Clear();
    // Takes the last recorded step back as if it had never been made (an
    // edit given up half way): the state before it, kept for no Redo.
    // Needs CanUndo().
    EditState TakeBack();

    size_t GetUndoCount() const { return m_undo.size(); }
    size_t GetRedoCount() const { return m_redo.size(); }

private:
    // Takes the newest state of from and keeps current in to.
    EditState Step(std::deque<EditState>& from, std::deque<EditState>& to,
                   const EditState& current);

    std::deque<EditState> m_undo;
    std::deque<EditState> m_redo;
    size_t m_limit;
    // The kind of the last recorded step while the next may join it.
    EditKind m_joinable = EditKind::Frames;
};

#endif
