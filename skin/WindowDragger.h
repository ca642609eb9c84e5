#pragma once
// Moves a top-level window while the left button is held on a handle window (a
// title bar, a menu strip, a caption). The handle keeps the mouse capture for the
// length of the drag; moving without a press moves nothing.

#include <wx/gdicmn.h>

#include <functional>

class wxMouseEvent;
class wxMouseCaptureLostEvent;
class wxWindow;

class WindowDragger {
public:
    // Where a press (handle coordinates) may start a drag; presses elsewhere are
    // swallowed.
    using StartTest = std::function<bool(const wxPoint& press)>;

    WindowDragger() = default;
    WindowDragger(const WindowDragger&) = delete;
    WindowDragger& operator=(const WindowDragger&) = delete;

    // Binds the handle's mouse events. moved null: the handle's top-level window.
    // The dragger must live as long as the handle (make it a member of it or of
    // its owner).
    void Attach(wxWindow* handle, wxWindow* moved = nullptr, StartTest mayStart = StartTest());

private:
    wxWindow* MovedWindow() const;
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    wxWindow* m_handle = nullptr;
    wxWindow* m_moved = nullptr;
    StartTest m_mayStart;
    wxPoint m_offset;
    bool m_dragging = false;
};
