#pragma once
// One probed file as the list shows it: six texts in a fixed order.

#include <wx/arrstr.h>

using FileRow = wxArrayString;

// Positions of the texts in a FileRow.
enum FileRowField : size_t {
    FILEROW_PATH = 0,      // the full path as given
    FILEROW_NAME = 1,      // after the last "/"
    FILEROW_SIZE = 2,      // StringUtil::FormatSize of the length
    FILEROW_FOLDER = 3,    // before the last "/"
    FILEROW_PAGES = 4,     // decimal count, "" for none, "unknown" when not openable
    FILEROW_OPEN_CODE = 5, // "0" to "6"
    FILEROW_FIELD_COUNT = 6
};
