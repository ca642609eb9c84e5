#pragma once
// Points the program's base directory at a temporary installation whose theme
// archive holds exactly the pictures a test puts there, or at the staged theme.

#include "TempDir.h"

#include <wx/image.h>

#include <map>

class ThemeSandbox {
public:
    // Creates "<tmp>/bin" and makes "<tmp>/bin/prog" the program path.
    ThemeSandbox();

    // Adds a picture under its archive path ("image/base/close-normal.png").
    void AddImage(const wxString& imagePath, const wxImage& image);
    // Writes "<tmp>/Themes/default.zip" with the pictures added so far.
    bool WriteArchive();

    const std::string& BaseDir() const { return m_dir.path(); }

    // A plain picture of one colour.
    static wxImage SolidImage(int width, int height, const wxColour& colour);
    // Makes the staged build tree the installation, so the real theme is used.
    static void UseStagedTheme();

private:
    TempDir m_dir;
    std::map<wxString, wxImage> m_images;
};
