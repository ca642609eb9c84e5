#pragma once
// The product's main window: a borderless frame drawn from the face picture, every
// panel cut from that picture at its fixed place, the run's start and end locking
// the commands that must wait, the question before closing during a run, and the
// update check's result shown on it.

#include "skin/ShapedFrame.h"
#include "ui/RunEndNotifier.h"
#include "ui/SinkAttachment.h"

class wxCloseEvent;
class wxCommandEvent;

class MainWindow : public ShapedFrame {
public:
    MainWindow();
    ~MainWindow() override;

    // Creates the frame without parent at the default position, with every panel.
    bool Create(wxWindowID id, const wxString& title);

private:
    void OnClose(wxCloseEvent& event);
    void OnUpdateResult(wxCommandEvent& event);
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

    wxDECLARE_CLASS(MainWindow);
};
