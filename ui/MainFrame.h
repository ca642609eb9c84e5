#pragma once
// The general skinned main window: a borderless frame drawn from one picture, with
// the update check's result shown on it.

#include "skin/ZLDazzleFrame.h"

class wxCloseEvent;
class wxCommandEvent;

class MainFrame : public ZLDazzleFrame {
public:
    MainFrame();
    ~MainFrame() override;

    // Stores background (owned from now on) and creates the frame without parent at
    // the default position.
    virtual bool CreateFrame(wxWindowID id, wxBitmap* background, const wxString& title);
    // The creation entry point; products override it with their layout.
    virtual bool Create(wxWindowID id, const wxString& title);
    virtual void OnClose(wxCloseEvent& event);

protected:
    void OnUpdateResult(wxCommandEvent& event);

private:
    wxDECLARE_DYNAMIC_CLASS(MainFrame);
};
