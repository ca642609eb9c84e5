#pragma once
// Files and folders dropped on the file list or its grid. Folders bring the
// supported files directly inside them; unsupported files are named and skipped.

#include <wx/arrstr.h>
#include <wx/dnd.h>

class FileListPanel;
class wxGrid;

class FileDropTarget : public wxFileDropTarget {
public:
    // owner: the window the target is set on; grid: the grid it was made for (may
    // be null). Either way the drop goes to the file list panel (2007).
    FileDropTarget(wxWindow* owner, wxGrid* grid);

    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& filenames) override;

    // Collects the paths of a drop and returns how many entries counted: every
    // supported file found in a dropped folder, and every dropped file (supported
    // or refused with its own box). Kept as a list, not joined by "|", so a name
    // holding "|" arrives whole.
    static int CollectDroppedPaths(const wxArrayString& dropped, wxArrayString& paths);
    // Adds what was dropped to list; false (with a box) when nothing counted.
    static bool DropOnList(FileListPanel* list, const wxArrayString& dropped);
    // The same for the file list of the top-level window that holds window.
    static bool DropOnTopWindow(wxWindow* window, const wxArrayString& dropped);

private:
    wxWindow* m_owner;
    wxGrid* m_grid;
};
