#pragma once
// Files and folders named on the window program's command line, by this start or
// handed over by a later one.

#include <wx/arrstr.h>

class wxTopLevelWindow;

class CommandLineFiles {
public:
    // The arguments after the program name, made absolute: a later start may run
    // in another folder than the window that receives them.
    static wxArrayString FromArguments(const wxArrayString& arguments);
    // Brings window to the front and adds paths to its list as a drop would.
    static void OpenInWindow(wxTopLevelWindow* window, const wxArrayString& paths);
};
