#include "ui/MainFrame.h"

#include "update/UpdateResultEvent.h"
#include "update/UpdateResultView.h"

wxIMPLEMENT_DYNAMIC_CLASS(MainFrame, wxFrame);

MainFrame::MainFrame() = default;

MainFrame::~MainFrame() {
    // A check still running must not report to a window that is gone.
    DetachUpdateResultTarget();
}

bool MainFrame::CreateFrame(wxWindowID id, wxBitmap* background, const wxString& title) {
    SetBitmap(background);
    if (!ZLDazzleFrame::Create(nullptr, id, title, wxDefaultPosition))
        return false;
    Bind(EVT_UPDATE_RESULT, &MainFrame::OnUpdateResult, this);
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);
    AttachUpdateResultTarget(this);
    return true;
}

bool MainFrame::Create(wxWindowID id, const wxString& title) {
    return CreateFrame(id, nullptr, title);
}

void MainFrame::OnClose(wxCloseEvent&) {
    Destroy();
}

void MainFrame::OnUpdateResult(wxCommandEvent& event) {
    ShowUpdateResult(this, event.GetString());
}
