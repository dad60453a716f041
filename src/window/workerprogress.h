#ifndef LOOPFORGE_WINDOW_WORKERPROGRESS_H
#define LOOPFORGE_WINDOW_WORKERPROGRESS_H

#include <wx/string.h>

#include <atomic>
#include <functional>
#include <memory>

class wxProgressDialog;
class wxThread;
class wxTopLevelWindow;

// The window's side of one worker thread (an import or an export): the
// progress dialog that keeps the window disabled while the worker runs, the
// flag that asks it to stop, a close of the window that waits for its end,
// and what it reads that must stay alive (and be released on this thread)
// until then. A cancellable worker's dialog has a Cancel button, which asks
// the worker to stop; the worker ends as it does when stopped otherwise.
class WorkerProgress
{
public:
    using StopFlag = std::shared_ptr<std::atomic<bool>>;
    using ThreadMaker = std::function<wxThread*(const StopFlag& stop)>;

    explicit WorkerProgress(wxTopLevelWindow* window, bool cancellable = false);
    ~WorkerProgress();
    WorkerProgress(const WorkerProgress&) = delete;
    WorkerProgress& operator=(const WorkerProgress&) = delete;

    bool IsRunning() const { return m_dialog != nullptr; }
    wxProgressDialog* GetDialog() const { return m_dialog; }

    // Runs the thread makeThread makes and opens the progress dialog. When
    // the thread cannot start, deletes it, tells the user `failure` and
    // returns false; no dialog is left open.
    bool Start(const ThreadMaker& makeThread, const wxString& title, const wxString& message,
               const wxString& failure, std::shared_ptr<const void> keepAlive = {});
    // Moves the dialog to percent. At 100 the worker is over: closes the
    // dialog, lets go of what it read and returns true.
    bool Advance(int percent);

    // Whether the user cancelled the worker that runs or last ran.
    bool WasCancelled() const { return m_cancelled; }

    // Asks the worker to stop, and the window to close once it has.
    void RequestClose();
    bool IsCloseRequested() const { return m_closeRequested; }
    // Whether a close waited for this worker's end; forgets the request.
    bool TakeCloseRequest();

private:
    class CancelWatch;
    // Stops the worker once the dialog's Cancel was pressed.
    void CheckCancel();

    wxTopLevelWindow* m_window;
    bool m_cancellable;
    bool m_cancelled = false;
    std::unique_ptr<CancelWatch> m_cancelWatch;
    wxProgressDialog* m_dialog = nullptr;
    StopFlag m_stop;
    std::shared_ptr<const void> m_keepAlive;
    bool m_closeRequested = false;
};

#endif
