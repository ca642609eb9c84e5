#pragma once
// Picture buttons as the theme names their pictures: <prefix>-normal.png,
// <prefix>-current.png (mouse over) and <prefix>-pressed.png.

#include <wx/bitmap.h>
#include <wx/string.h>

class PictureButton;
class wxWindow;

class ThemeButton {
public:
    // A button at pos sized to its normal picture (fallbackSize when the theme lacks
    // it), showing the normal picture when disabled, laid over the piece of
    // parentPicture beneath it (none when parentPicture is null or empty). Pictures
    // narrower than minWidth are drawn out to it, their rounded ends kept, for
    // words the program draws on them in a longer language.
    static PictureButton* Create(wxWindow* parent, int id, const wxString& imagePrefix,
                                 const wxPoint& pos, const wxBitmap* parentPicture,
                                 const wxSize& fallbackSize, int minWidth = 0);
};
