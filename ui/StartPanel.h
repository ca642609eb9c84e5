#pragma once
// The Start button and, in the same place, the Stop button. Which one shows follows
// the run state; the run itself is started by the file list panel.

#include "skin/SkinPanel.h"
#include "ui/DisabledBitmaps.h"

#include <wx/weakref.h>

class PictureButton;
class wxActivateEvent;
class wxCommandEvent;

class StartPanel : public SkinPanel {
public:
    StartPanel();

    // background: the panel's piece of the face image; the panel owns it.
    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                const wxSize& size);

    // Shows Stop while a run is going on, Start otherwise. When a run starts, the
    // keyboard moves to Stop unless it is in the file list (what it leaves is
    // locked or hidden for the run); where it was is remembered.
    void UpdateButtons();
    // After a run: the keyboard goes back where it was when the run started (Start
    // itself after a click on it), or to Start when that control is gone.
    void RestoreFocusAfterRun();

private:
    PictureButton* AddButton(int id, const wxString& image);
    bool IsWindowActive();
    static void GiveFocus(wxWindow* target);
    void OnWindowActivated(wxActivateEvent& event);
    void OnStart(wxCommandEvent& event);
    void OnStop(wxCommandEvent& event);

    PictureButton* m_start = nullptr;
    PictureButton* m_stop = nullptr;
    wxWeakRef<wxWindow> m_focusAtStart;
    wxWeakRef<wxWindow> m_focusAfterRun; // set when a run ended behind another window

    DisabledBitmaps m_disabledLooks;

    wxDECLARE_DYNAMIC_CLASS(StartPanel);
};
