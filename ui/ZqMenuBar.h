#pragma once
// The product's menu strip: File and Help menus and their commands. Dragging its
// empty part moves the window, like the title bar.

#include "ui/ZlMenuBar.h"

class wxMouseEvent;
class wxMouseCaptureLostEvent;

class ZqMenuBar : public ZlMenuBar {
public:
    ZqMenuBar();

    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                long style);

    // Enables or disables "Add File(s)..." (off during a run).
    void EnableCommands(bool enable);
    bool AreCommandsEnabled() const;

private:
    void OnAddFiles(wxCommandEvent& event);
    void OnOpenLogDirectory(wxCommandEvent& event);
    void OnExit(wxCommandEvent& event);
    void OnHelp(wxCommandEvent& event);
    void OnSupport(wxCommandEvent& event);
    void OnCheckForUpdate(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    wxMenu* m_fileMenu = nullptr;
    wxMenu* m_helpMenu = nullptr;
    bool m_dragging = false;
    wxPoint m_dragOffset;

    wxDECLARE_EVENT_TABLE();
};
