#pragma once
// The column of picture buttons beside the file list: add files, delete, clear all.
// Each click is handed to the file list panel as its command.

#include "ui/DisabledBitmaps.h"

#include <wx/bitmap.h>
#include <wx/panel.h>

#include <memory>

class PictureButton;
class wxCommandEvent;
class wxPaintEvent;

class FileListButtons : public wxPanel {
public:
    FileListButtons();
    ~FileListButtons() override;

    // background: the tool bar's piece of the face image; the tool bar owns it.
    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                const wxSize& size, long style);

    void DisableAll();
    void EnableAll();

private:
    PictureButton* AddButton(int id, const wxString& image, int y);
    void OnPaint(wxPaintEvent& event);
    void OnButton(wxCommandEvent& event);

    std::unique_ptr<wxBitmap> m_background;
    PictureButton* m_add = nullptr;
    PictureButton* m_delete = nullptr;
    PictureButton* m_clear = nullptr;

    DisabledBitmaps m_disabledLooks;

    wxDECLARE_EVENT_TABLE();
};
