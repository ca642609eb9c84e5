#pragma once
// The product's main window: every panel cut from the face picture at its fixed
// place, the run's start and end locking the commands that must wait, and the
// question before closing during a run.

#include "ui/MainFrame.h"
#include "ui/RunEndNotifier.h"
#include "ui/SinkAttachment.h"

class MainFramePDFENCRYPTION : public MainFrame {
public:
    MainFramePDFENCRYPTION();

    bool Create(wxWindowID id, const wxString& title) override;
    void OnClose(wxCloseEvent& event) override;

private:
    wxBitmap* CutFace(const wxBitmap& face, int x, int y, int width, int height) const;
    void OnJobStarted(wxCommandEvent& event);
    void OnJobFinished(wxCommandEvent& event);
    void OnOutputDirMissing(wxCommandEvent& event);
    // The window's keys: Alt+F, Alt+H and F10 open the menus, Ctrl+O adds files.
    void InstallKeys();
    void OnMenuKey(wxCommandEvent& event);
    void OnAddFilesKey(wxCommandEvent& event);

    SinkAttachment m_sinkAttachment;
    RunEndNotifier m_runEndNotifier;
    bool m_askingToClose = false;

    wxDECLARE_DYNAMIC_CLASS(MainFramePDFENCRYPTION);
};
