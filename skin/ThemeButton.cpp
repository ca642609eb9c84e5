#include "skin/ThemeButton.h"

#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"

#include <algorithm>

PictureButton* ThemeButton::Create(wxWindow* parent, int id, const wxString& imagePrefix,
                                   const wxPoint& pos, const wxBitmap* parentPicture,
                                   const wxSize& fallbackSize, int minWidth) {
    // Beyond the corners' radius, a face is the same from column to column.
    constexpr int kEnd = 8;
    auto load = [&](const char* state) {
        wxBitmap* picture = ImageUtil::CreateBitmap(imagePrefix + state, wxBITMAP_TYPE_PNG);
        if (picture && picture->GetLogicalWidth() < minWidth) {
            wxBitmap* wider = new wxBitmap(ImageUtil::StretchMiddle(*picture, minWidth, kEnd));
            delete picture;
            picture = wider;
        }
        return picture;
    };
    wxBitmap* normal = load("-normal.png");
    wxBitmap* hover = load("-current.png");
    wxBitmap* pressed = load("-pressed.png");
    const wxSize size = normal ? normal->GetLogicalSize()
                               : wxSize(std::max(fallbackSize.x, minWidth), fallbackSize.y);
    auto* button = new PictureButton(parent, id, pos, size, wxBORDER_NONE);
    button->SetNormalBitmap(normal)
        ->SetPressedBitmap(pressed)
        ->SetHoverBitmap(hover)
        ->SetDisabledBitmap(normal);
    if (parentPicture && parentPicture->IsOk())
        button->SetBackgroundPiece(
            ImageUtil::GetSubBitmap(*parentPicture, pos.x, pos.y, size.x, size.y));
    return button;
}
