#include "ui/StartPanel.h"

#include "ui/run/JobEvents.h"
#include "ui/run/RunState.h"
#include "core/FileUtil.h"
#include "skin/ThemeButton.h"
#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"
#include "ui/WindowIds.h"
#include "ui/WindowLookup.h"

#include <wx/textctrl.h>
#include <wx/toplevel.h>

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
    // A click puts the keyboard on the button, as on the desktop's own buttons: the
    // focus then comes back to Start after the run.
    for (PictureButton* button : {m_start, m_stop})
        button->Bind(wxEVT_LEFT_DOWN, [button](wxMouseEvent& event) {
            button->SetFocus();
            event.Skip();
        });
    Bind(wxEVT_BUTTON, &StartPanel::OnStart, this, ID_START_BUTTON);
    Bind(wxEVT_BUTTON, &StartPanel::OnStop, this, ID_STOP_BUTTON);
    // Unbound by wx when the panel goes first.
    if (wxWindow* top = wxGetTopLevelParent(this))
        top->Bind(wxEVT_ACTIVATE, &StartPanel::OnWindowActivated, this);
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
        wxWindow* focus = FindFocus();
        const bool ours = focus && wxGetTopLevelParent(focus) == wxGetTopLevelParent(this);
        if (!m_stop->IsShown())
            m_focusAtStart = ours ? focus : m_start;
        m_stop->Enable(true);
        m_stop->Show();
        m_start->Hide();
        // The list stays usable during a run; anything else the focus could be on
        // is locked or hidden now, which would leave the keys nowhere.
        wxWindow* list = WindowLookup::FindInTopWindow(this, ID_FILE_LIST);
        // Only while the user is in this window: moving the focus of a window behind
        // another brings it to the front.
        if (ours && (!list || !list->IsDescendant(focus)))
            m_stop->SetFocus();
    } else {
        const bool stopHadFocus = FindFocus() == m_stop;
        m_stop->Hide();
        m_start->Show();
        if (stopHadFocus && IsWindowActive())
            m_start->SetFocus();
    }
}

void StartPanel::RestoreFocusAfterRun() {
    wxWindow* target = m_focusAtStart.get();
    m_focusAtStart = nullptr;
    if (!target || !target->IsShownOnScreen() || !target->IsEnabled() || !target->CanAcceptFocus())
        target = m_start;
    if (IsWindowActive()) {
        GiveFocus(target);
        return;
    }
    // The run ended behind another window: taking the focus now would bring this
    // one to the front. It moves when the user comes back.
    m_focusAfterRun = target;
}

bool StartPanel::IsWindowActive() {
    auto* top = wxDynamicCast(wxGetTopLevelParent(this), wxTopLevelWindow);
    return top && top->IsActive();
}

void StartPanel::OnWindowActivated(wxActivateEvent& event) {
    event.Skip();
    if (!event.GetActive() || !m_focusAfterRun)
        return;
    // After the toolkit has put back the focus it remembers.
    CallAfter([this] {
        wxWindow* target = m_focusAfterRun.get();
        m_focusAfterRun = nullptr;
        if (target && target->IsShownOnScreen() && target->IsEnabled())
            GiveFocus(target);
    });
}

void StartPanel::GiveFocus(wxWindow* target) {
    target->SetFocus();
    // The toolkit selects a whole box that gains the focus, and the next key would
    // replace the password in it: the caret goes to the end instead.
    if (auto* box = wxDynamicCast(target, wxTextCtrl))
        box->SetInsertionPointEnd();
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
