#include "skin/WindowDragger.h"

#include <wx/toplevel.h>
#include <wx/window.h>

void WindowDragger::Attach(wxWindow* handle, wxWindow* moved, StartTest mayStart) {
    m_handle = handle;
    m_moved = moved;
    m_mayStart = std::move(mayStart);
    m_handle->Bind(wxEVT_LEFT_DOWN, &WindowDragger::OnLeftDown, this);
    m_handle->Bind(wxEVT_LEFT_UP, &WindowDragger::OnLeftUp, this);
    m_handle->Bind(wxEVT_MOTION, &WindowDragger::OnMotion, this);
    m_handle->Bind(wxEVT_MOUSE_CAPTURE_LOST, &WindowDragger::OnCaptureLost, this);
}

wxWindow* WindowDragger::MovedWindow() const {
    return m_moved ? m_moved : wxGetTopLevelParent(m_handle);
}

void WindowDragger::OnLeftDown(wxMouseEvent& event) {
    wxWindow* moved = MovedWindow();
    if (!moved || (m_mayStart && !m_mayStart(event.GetPosition())))
        return;
    if (!m_handle->HasCapture())
        m_handle->CaptureMouse();
    m_dragging = true;
    m_offset = m_handle->ClientToScreen(event.GetPosition()) - moved->GetPosition();
}

void WindowDragger::OnMotion(wxMouseEvent& event) {
    if (!m_dragging || !event.Dragging() || !event.LeftIsDown() || !m_handle->HasCapture())
        return;
    if (wxWindow* moved = MovedWindow())
        moved->Move(m_handle->ClientToScreen(event.GetPosition()) - m_offset);
}

void WindowDragger::OnLeftUp(wxMouseEvent&) {
    if (m_handle->HasCapture())
        m_handle->ReleaseMouse();
    m_dragging = false;
}

void WindowDragger::OnCaptureLost(wxMouseCaptureLostEvent&) {
    // The window stays where the drag left it.
    m_dragging = false;
}
