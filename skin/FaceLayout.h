#pragma once
// The theme's layout file: every element with attributes becomes an entry keyed by
// its element path ("/face/panewindow/annotatefont") holding four numbers.

#include <wx/string.h>
#include <map>
#include <memory>

struct FaceRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int value = 0; // any attribute other than x, y and width; the last one wins
};

class FaceLayout {
public:
    // The entry of an element path, or null when the file had none.
    const FaceRect* Find(const wxString& path) const;
    void Set(const wxString& path, const FaceRect& rect);
    size_t size() const { return m_entries.size(); }
    void clear() { m_entries.clear(); }

private:
    std::map<wxString, std::unique_ptr<FaceRect>> m_entries;
};

// Reads path into layout: -1 when the file cannot be opened, 0 otherwise (also after
// a syntax error, which is reported on standard error; entries read before it stay).
int LoadFaceLayout(const wxString& path, FaceLayout& layout);

// The layout table of the process; null until start-up creates it.
extern FaceLayout* g_faceLayout;
