#include "ui/StartPanel.h"

#include "ui/run/JobEvents.h"
#include "ui/run/RunState.h"
#include "core/FileUtil.h"
#include "skin/ThemeButton.h"
#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"
#include "ui/WindowIds.h"
#include "ui/WindowLookup.h"

wxIMPLEMENT_DYNAMIC_CLASS(StartPanel, SkinPanel);

StartPanel::StartPanel() = default;

bool StartPanel::Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                        const wxSize& size) {
    if (!SkinPanel::Create(parent, background, id, pos, size, wxBORDER_NONE | wxTAB_TRAVERSAL,
                           "StartPanel"))
        return false;
    m_start = AddButton(ID_START_BUTTON, "start");
    m_stop = AddButton(ID_STOP_BUTTON, "stop");
    // Both buttons take the start picture's place, so the panel never jumps.
    m_stop->SetSize(m_start->GetSize());
    m_stop->Hide();
    Bind(wxEVT_BUTTON, &StartPanel::OnStart, this, ID_START_BUTTON);
    Bind(wxEVT_BUTTON, &StartPanel::OnStop, this, ID_STOP_BUTTON);
    return true;
}

PictureButton* StartPanel::AddButton(int id, const wxString& image) {
    PictureButton* button = ThemeButton::Create(this, id, "image/start/" + image, wxPoint(0, 0),
                                                GetBitmap(), wxSize(150, 50));
    button->SetDisabledBitmap(m_disabledLooks.Make(button->GetNormalBitmap()));
    return button;
}

void StartPanel::UpdateButtons() {
    if (g_runState.load() == RUN_RUNNING) {
        m_stop->Enable(true);
        m_stop->Show();
        m_start->Hide();
    } else {
        m_stop->Hide();
        m_start->Show();
    }
}

void StartPanel::OnStart(wxCommandEvent&) {
    wxWindow* list = WindowLookup::FindInTopWindow(this, ID_FILE_LIST);
    if (!list)
        return;
    wxCommandEvent request(wxEVT_PZ_START_REQUEST, ID_FILE_LIST);
    request.SetInt(1);
    request.SetEventObject(this);
    list->GetEventHandler()->ProcessEvent(request);
}

void StartPanel::OnStop(wxCommandEvent&) {
    if (!RequestRunStop())
        return;
    FileUtil::WriteLogEvent("Stop", wxEmptyString, 0);
    m_stop->Enable(false);
}
