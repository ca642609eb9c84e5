#pragma once
// The product's menu strip: File and Help menus and their commands. Dragging its
// empty part moves the window, like the title bar.

#include "skin/WindowDragger.h"
#include "ui/SkinMenuStrip.h"

class AppMenuStrip : public SkinMenuStrip {
public:
    AppMenuStrip();

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

    wxMenu* m_fileMenu = nullptr;
    wxMenu* m_helpMenu = nullptr;
    WindowDragger m_dragger;

    wxDECLARE_EVENT_TABLE();
};
