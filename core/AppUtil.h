#pragma once
// Product constants and every path of the program. Two roots: the data directory
// (theme, layout and option files, read only; found from the program's folder) and
// the work directory in the user's documents folder (settings, log).

#include <wx/string.h>

class AppUtil {
public:
    // Argument 0 as the program received it; start-up and the command-line front
    // end record it before any path is asked for.
    static void SetArgv0(const wxString& argv0);

    static wxString GetProductKey();  // "PDF_ENCRYPTION_TAVO"
    static wxString GetMakerName();   // "Brisklowan"
    static wxString GetProductName(); // "Brisklowan PDF Zerovovor"
    static wxString GetVersion();     // "2.1.4"

    static wxString GetExeDir();  // argument 0 before its last "/" ("\" taken as "/")
    static wxString GetBaseDir(); // program directory before its last "/"
    // Where the theme, layout and option files are: the base directory itself in
    // the build's staged tree, or base/share/pdfzerovovor when that folder exists
    // (an installation below a prefix such as /usr).
    static wxString GetDataDir();
    static wxString GetOptionPath();
    static wxString GetLayoutPath();
    static wxString GetThemePath();
    static wxString GetDocumentsDir();

    // documents/<maker><suffix>/<product>; creates both levels.
    static wxString MakeUserDir(const wxString& suffix);
    static wxString GetWorkDir();          // creates it
    static wxString GetDefaultOutputDir(); // creates it
    static wxString GetSettingsPath();     // creates the work directory

    // Opens a folder in the desktop's file browser. Lives in the GUI library.
    static void OpenFolder(const wxString& path);
};
