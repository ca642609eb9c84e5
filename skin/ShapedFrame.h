#pragma once
// A borderless top-level frame whose face and outline are one picture: pixels of
// the picture's mask colour lie outside the window.

#include <wx/frame.h>
#include <wx/region.h>

class wxBitmap;

class ShapedFrame : public wxFrame {
public:
    ShapedFrame() = default;
    ~ShapedFrame() override;

    // Takes ownership; call before Create, which sizes the frame to the picture.
    void SetBitmap(wxBitmap* bitmap);
    wxBitmap* GetBitmap() const { return m_bitmap; }

    bool Create(wxWindow* parent, wxWindowID id, const wxString& title,
                const wxPoint& pos = wxDefaultPosition);

    // The outline applied by Create (empty when the picture has no mask colour).
    const wxRegion& GetShapeRegion() const { return m_shape; }

    // The region of the pixels of bitmap that differ from its mask colour; empty
    // when the picture is missing or has no mask colour.
    static wxRegion MakeShapeRegion(const wxBitmap* bitmap);

private:
    wxBitmap* m_bitmap = nullptr;
    wxRegion m_shape;
};
