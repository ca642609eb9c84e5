#include "skin/ImageUtil.h"

#include "core/AppUtil.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/window.h>

#include <algorithm>
#include <memory>

wxString ImageUtil::MakeLocation(const wxString& imagePath) {
    wxFileName archive(AppUtil::GetThemePath(), wxPATH_NATIVE);
    return wxFileSystem::FileNameToURL(archive) + "#zip:" + imagePath;
}

wxBitmap* ImageUtil::CreateBitmap(const wxString& imagePath, wxBitmapType type) {
    wxBitmap bitmap = GetBitmap(imagePath, type);
    return bitmap.IsOk() ? new wxBitmap(bitmap) : nullptr;
}

wxBitmap ImageUtil::GetBitmap(const wxString& imagePath, wxBitmapType type) {
    // A missing picture is the caller's to handle; the library's own error boxes
    // would interrupt start-up over one button.
    wxLogNull quiet;
    wxFileSystem fs;
    std::unique_ptr<wxFSFile> file(fs.OpenFile(MakeLocation(imagePath), wxFS_READ));
    if (!file || !file->GetStream())
        return wxNullBitmap;
    wxImage image;
    if (!image.LoadFile(*file->GetStream(), type, -1) || !image.IsOk())
        return wxNullBitmap;
    wxBitmap bitmap(image, -1);
    return bitmap.IsOk() ? bitmap : wxNullBitmap;
}

wxBitmap* ImageUtil::CreateSubBitmap(const wxBitmap& source, int x, int y, int width, int height) {
    return new wxBitmap(GetSubBitmap(source, x, y, width, height));
}

wxBitmap ImageUtil::GetSubBitmap(const wxBitmap& source, int x, int y, int width, int height) {
    wxBitmap piece(width > 0 ? width : 1, height > 0 ? height : 1, -1);
    if (!source.IsOk())
        return piece;
    wxMemoryDC target(piece);
    wxMemoryDC from;
    from.SelectObjectAsSource(source);
    target.Blit(0, 0, width, height, &from, x, y, wxCOPY, true, -1, -1);
    target.SelectObject(wxNullBitmap);
    from.SelectObject(wxNullBitmap);
    return piece;
}

bool ImageUtil::DrawPieceUnder(wxWindow* window, const wxBitmap& parentPicture, wxDC* dc) {
    if (!parentPicture.IsOk())
        return false;
    wxRect rect = window->GetRect();
    rect.width = std::min(rect.width, parentPicture.GetWidth() - rect.x);
    rect.height = std::min(rect.height, parentPicture.GetHeight() - rect.y);
    if (rect.x < 0 || rect.y < 0 || rect.width <= 0 || rect.height <= 0)
        return false;
    const wxBitmap piece = parentPicture.GetSubBitmap(rect);
    if (dc) {
        dc->DrawBitmap(piece, 0, 0, false);
    } else {
        wxClientDC client(window);
        client.DrawBitmap(piece, 0, 0, false);
    }
    return true;
}
