#pragma once
// A panel that paints one piece of the skin picture under its children.

#include <wx/panel.h>

class wxBitmap;

class SkinPanel : public wxPanel {
public:
    SkinPanel() = default;
    // Takes ownership of background (may be null: nothing is painted).
    SkinPanel(wxWindow* parent, wxBitmap* background, wxWindowID id = wxID_ANY,
              const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
              long style = wxTAB_TRAVERSAL | wxBORDER_NONE, const wxString& name = wxPanelNameStr);
    ~SkinPanel() override;

    // The bitmap is stored (and owned) only when the panel was created.
    bool Create(wxWindow* parent, wxBitmap* background, wxWindowID id = wxID_ANY,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = wxTAB_TRAVERSAL | wxBORDER_NONE,
                const wxString& name = wxPanelNameStr);

    wxBitmap* GetBitmap() const { return m_bitmap; }
    // Takes ownership; a previously owned different bitmap is deleted.
    void SetBitmap(wxBitmap* bitmap);

protected:
    void OnPaint(wxPaintEvent& event);

private:
    wxBitmap* m_bitmap = nullptr;

    wxDECLARE_DYNAMIC_CLASS(SkinPanel);
    wxDECLARE_EVENT_TABLE();
};
