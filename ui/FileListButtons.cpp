#include "ui/FileListButtons.h"

#include "skin/ThemeButton.h"
#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"
#include "ui/WindowIds.h"
#include "ui/WindowLookup.h"

#include <wx/dcclient.h>

wxBEGIN_EVENT_TABLE(FileListButtons, wxPanel)
    EVT_PAINT(FileListButtons::OnPaint)
    EVT_BUTTON(ID_TOOL_ADD, FileListButtons::OnButton)
    EVT_BUTTON(ID_TOOL_DELETE, FileListButtons::OnButton)
    EVT_BUTTON(ID_TOOL_CLEAR, FileListButtons::OnButton)
wxEND_EVENT_TABLE()

FileListButtons::FileListButtons() = default;
FileListButtons::~FileListButtons() = default;

bool FileListButtons::Create(wxBitmap* background, wxWindow* parent, wxWindowID id,
                             const wxPoint& pos, const wxSize& size, long style) {
    m_background.reset(background);
    if (!wxPanel::Create(parent, id, pos, size, style))
        return false;
    SetBackgroundStyle(wxBG_STYLE_PAINT);

    m_add = AddButton(ID_TOOL_ADD, "add-file", 0);
    const int step = m_add->GetSize().y + 2;
    m_delete = AddButton(ID_TOOL_DELETE, "delete", step);
    m_clear = AddButton(ID_TOOL_CLEAR, "clear-all", 2 * step);
    return true;
}

PictureButton* FileListButtons::AddButton(int id, const wxString& image, int y) {
    PictureButton* button = ThemeButton::Create(this, id, "image/toolbar/" + image, wxPoint(5, y),
                                                m_background.get(), wxSize(118, 40));
    button->SetDisabledBitmap(m_disabledLooks.Make(button->GetNormalBitmap()));
    return button;
}

void FileListButtons::DisableAll() {
    for (PictureButton* button : {m_add, m_delete, m_clear})
        button->Enable(false);
}

void FileListButtons::EnableAll() {
    for (PictureButton* button : {m_add, m_delete, m_clear})
        button->Enable(true);
}

void FileListButtons::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_background && m_background->IsOk())
        dc.DrawBitmap(*m_background, 0, 0, true);
}

void FileListButtons::OnButton(wxCommandEvent& event) {
    int command = 0;
    switch (event.GetId()) {
    case ID_TOOL_ADD:
        command = CMD_ADD_FILES;
        break;
    case ID_TOOL_DELETE:
        command = CMD_DELETE_SELECTED;
        break;
    case ID_TOOL_CLEAR:
        command = CMD_CLEAR_ALL;
        break;
    default:
        return;
    }
    WindowLookup::QueueCommand(this, ID_FILE_LIST, command);
}
