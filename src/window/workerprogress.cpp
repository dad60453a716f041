#include "window/workerprogress.h"

#include "window/translatedbuttons.h"

#include <wx/app.h>
#include <wx/progdlg.h>
#include <wx/thread.h>
#include <wx/timer.h>
#include <wx/toplevel.h>

#include <algorithm>

namespace
{
const long kProgressStyle = wxPD_ELAPSED_TIME | wxPD_ESTIMATED_TIME | wxPD_REMAINING_TIME;
// The dialog tells of a pressed Cancel only when asked; asked this often,
// a worker stops well within a second even while no progress comes.
const int kCancelCheckMs = 100;
}  // namespace

class WorkerProgress::CancelWatch : public wxTimer
{
public:
    explicit CancelWatch(WorkerProgress& owner) : m_owner(owner) {}
    void Notify() override { m_owner.CheckCancel(); }

private:
    WorkerProgress& m_owner;
};

WorkerProgress::WorkerProgress(wxTopLevelWindow* window, bool cancellable)
    : m_window(window), m_cancellable(cancellable)
{
}

WorkerProgress::~WorkerProgress() = default;

void WorkerProgress::CheckCancel()
{
    if (!m_dialog || !m_dialog->WasCancelled() || m_cancelled)
        return;
    m_cancelled = true;
    if (m_stop)
        m_stop->store(true);
    m_cancelWatch->Stop();
}

bool WorkerProgress::Start(const ThreadMaker& makeThread, const wxString& title,
                           const wxString& message, const wxString& failure,
                           std::shared_ptr<const void> keepAlive)
{
    if (IsRunning())
        return false;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    wxThread* thread = makeThread(m_stop);
    if (!thread || thread->Run() != wxTHREAD_NO_ERROR)
    {
        // No event will ever come, so no progress dialog may wait for one.
        delete thread;
        m_stop.reset();
        ShowMessageBox(m_window, failure, m_window->GetTitle(), wxOK | wxICON_ERROR);
        return false;
    }
    m_keepAlive = std::move(keepAlive);
    m_cancelled = false;
    // The thread's events wait in the queue until the dialog exists: the
    // dialog only lets the toolkit's own events through while it opens.
    m_dialog = new wxProgressDialog(title, message, 100, m_window,
                                    kProgressStyle | (m_cancellable ? wxPD_CAN_ABORT : 0));
    if (m_cancellable)
    {
        if (!m_cancelWatch)
            m_cancelWatch = std::make_unique<CancelWatch>(*this);
        m_cancelWatch->Start(kCancelCheckMs);
    }
    return true;
}

bool WorkerProgress::Advance(int percent)
{
    if (percent != 100)
    {
        // Progress reported from inside a file may have gone further already.
        if (m_dialog && !m_dialog->Update(std::max(percent, m_dialog->GetValue()), wxEmptyString))
            CheckCancel();
        return false;
    }
    if (m_cancelWatch)
        m_cancelWatch->Stop();
    if (m_dialog)
    {
        m_dialog->Destroy();
        m_dialog = nullptr;
        // Lets the idle processing that deletes the dialog run at once.
        wxWakeUpIdle();
    }
    m_stop.reset();
    m_keepAlive.reset();
    return true;
}

void WorkerProgress::RequestClose()
{
    m_closeRequested = true;
    if (m_stop)
        m_stop->store(true);
}

bool WorkerProgress::TakeCloseRequest()
{
    const bool requested = m_closeRequested;
    m_closeRequested = false;
    return requested;
}
