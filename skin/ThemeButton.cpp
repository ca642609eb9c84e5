#include "skin/ThemeButton.h"

#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"

PictureButton* ThemeButton::Create(wxWindow* parent, int id, const wxString& imagePrefix,
                                   const wxPoint& pos, const wxBitmap* parentPicture,
                                   const wxSize& fallbackSize) {
    wxBitmap* normal = ImageUtil::CreateBitmap(imagePrefix + "-normal.png", wxBITMAP_TYPE_PNG);
    wxBitmap* hover = ImageUtil::CreateBitmap(imagePrefix + "-current.png", wxBITMAP_TYPE_PNG);
    wxBitmap* pressed = ImageUtil::CreateBitmap(imagePrefix + "-pressed.png", wxBITMAP_TYPE_PNG);
    const wxSize size = normal ? normal->GetLogicalSize() : fallbackSize;
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
