#pragma once
// The parts of start-up and shutdown that need no window, shared by the program
// and the tests: console streams, settings, option file and layout table.

class wxString;

class StartupSequence {
public:
    // Records argument 0, resolving a bare program name to where the program runs from.
    static void RecordProgramPath(const wxString& argv0);
    // Unbuffered console, settings instance, option instance, layout table.
    static void CreateProcessInstances();
    // Archive file system handler and image handlers for the theme.
    static void InstallImageHandlers();
    // Writes the settings back and releases the settings and option instances.
    static void ReleaseProcessInstances();
};
