#pragma once
// The Start button and, in the same place, the Stop button. Which one shows follows
// the run state; the run itself is started by the file list panel.

#include "skin/SkinPanel.h"
#include "ui/DisabledBitmaps.h"

class PictureButton;
class wxCommandEvent;

class StartPanel : public SkinPanel {
public:
    StartPanel();

    // background: the panel's piece of the face image; the panel owns it.
    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                const wxSize& size);

    // Shows Stop while a run is going on, Start otherwise.
    void UpdateButtons();

private:
    PictureButton* AddButton(int id, const wxString& image);
    void OnStart(wxCommandEvent& event);
    void OnStop(wxCommandEvent& event);

    PictureButton* m_start = nullptr;
    PictureButton* m_stop = nullptr;

    DisabledBitmaps m_disabledLooks;

    wxDECLARE_DYNAMIC_CLASS(StartPanel);
};
