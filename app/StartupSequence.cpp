#include "app/StartupSequence.h"

#include "core/AppUtil.h"
#include "core/DomainConfig.h"
#include "skin/FaceLayout.h"
#include "update/DomainOption.h"

#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/image.h>
#include <wx/stdpaths.h>

#include <cstdio>

void StartupSequence::RecordProgramPath(const wxString& argv0) {
    wxString path = argv0;
    // Started by bare name through PATH (a desktop entry does that): without a
    // folder in argument 0 the installation could not be found, so ask the system
    // where the program is.
    if (path.find('/') == wxString::npos && path.find('\\') == wxString::npos) {
        wxString exe = wxStandardPaths::Get().GetExecutablePath();
        if (!exe.empty())
            path = exe;
    }
    AppUtil::SetArgv0(path);
}

void StartupSequence::CreateProcessInstances() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);

    g_config = new DomainConfig(AppUtil::GetSettingsPath());

    g_option = new DomainOption(AppUtil::GetOptionPath());
    g_option->ReadOptions();

    g_faceLayout = new FaceLayout;
    LoadFaceLayout(AppUtil::GetLayoutPath(), *g_faceLayout);
}

void StartupSequence::InstallImageHandlers() {
    wxFileSystem::AddHandler(new wxArchiveFSHandler);
    wxInitAllImageHandlers();
}

void StartupSequence::ReleaseProcessInstances() {
    delete g_config; // writes the settings file
    g_config = nullptr;
    delete g_option;
    g_option = nullptr;
    delete g_faceLayout; // every window that read it is gone by now
    g_faceLayout = nullptr;
}
