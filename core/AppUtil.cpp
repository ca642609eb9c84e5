#include "core/AppUtil.h"

#include "core/FileUtil.h"
#include "core/StringUtil.h"

#include <wx/app.h>
#include <wx/stdpaths.h>

#include <mutex>

namespace {
std::mutex g_argvMutex;
wxString g_argv0;

wxString ProgramPath() {
    std::lock_guard<std::mutex> lock(g_argvMutex);
    return g_argv0;
}
} // namespace

void AppUtil::SetArgv0(const wxString& argv0) {
    std::lock_guard<std::mutex> lock(g_argvMutex);
    g_argv0 = argv0;
}

wxString AppUtil::GetProductKey() {
    return "PDF_ENCRYPTION_TAVO";
}
wxString AppUtil::GetMakerName() {
    return "Brisklowan";
}

wxString AppUtil::GetProductName() {
    wxString name = "Brisklowan+PDF+Zerovovor";
    name.Replace("+", " ");
    return name;
}

wxString AppUtil::GetVersion() {
    return "2.1.4";
}

wxString AppUtil::GetExeDir() {
    wxString path = StringUtil::ToSlashes(ProgramPath());
    int slash = path.Find('/', true);
    return slash == wxNOT_FOUND ? wxString() : path.Left(slash);
}

wxString AppUtil::GetBaseDir() {
    wxString exeDir = GetExeDir();
    int slash = exeDir.Find('/', true);
    return slash == wxNOT_FOUND ? wxString() : exeDir.Left(slash);
}

wxString AppUtil::GetDataDir() {
    const wxString base = GetBaseDir();
    const wxString installed = base + "/share/pdfzerovovor";
    return FileUtil::DirExists(installed) ? installed : base;
}

wxString AppUtil::GetOptionPath() {
    return GetDataDir() + "/option.cfg";
}
wxString AppUtil::GetLayoutPath() {
    return GetDataDir() + "/Themes/face.xml";
}
wxString AppUtil::GetThemePath() {
    return GetDataDir() + "/Themes/default.zip";
}

wxString AppUtil::GetDocumentsDir() {
    return wxStandardPaths::Get().GetDocumentsDir();
}

wxString AppUtil::MakeUserDir(const wxString& suffix) {
    wxString dir = StringUtil::ToSlashes(GetDocumentsDir()) + "/" + GetMakerName() + suffix;
    FileUtil::MakeDir(dir);
    dir += "/" + GetProductName();
    FileUtil::MakeDir(dir);
    return dir;
}

wxString AppUtil::GetWorkDir() {
    return MakeUserDir(" files");
}
wxString AppUtil::GetDefaultOutputDir() {
    return MakeUserDir(wxString());
}

wxString AppUtil::GetSettingsPath() {
    return GetWorkDir() + "/" + GetProductKey() + ".cfg";
}
