#include "core/FileUtil.h"

#include "core/AppUtil.h"
#include "core/AtomicFileWriter.h"
#include "core/PathText.h"

#include <wx/datetime.h>
#include <wx/dir.h>
#include <wx/log.h>

#include <mutex>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>
#ifdef __WXMSW__
#include <direct.h>
#endif

namespace {
bool StatPath(const wxString& path, struct stat& st) {
    if (path.empty())
        return false;
    return ::stat(path.fn_str(), &st) == 0;
}

// One lock for the whole log: the worker's records and the Stop record written
// from the window must reach the file whole.
std::mutex& LogMutex() {
    static std::mutex mutex;
    return mutex;
}
} // namespace

void FileUtil::MakeDir(const wxString& path) {
    if (path.empty())
        return;
#ifdef __WXMSW__
    ::_wmkdir(path.wc_str());
#else
    ::mkdir(path.fn_str(), 0755);
#endif
}

int64_t FileUtil::GetFileLength(const wxString& path) {
    struct stat st;
    if (!StatPath(path, st))
        return -1;
    // Never open a FIFO or a device: opening may block for ever.
    if (!S_ISREG(st.st_mode))
        return static_cast<int64_t>(st.st_size);
    int fd = ::open(path.fn_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    ::close(fd);
    return static_cast<int64_t>(st.st_size);
}

bool FileUtil::FileExists(const wxString& path) {
    struct stat st;
    return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool FileUtil::PathExists(const wxString& path) {
    struct stat st;
    return StatPath(path, st) && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode));
}

bool FileUtil::DirExists(const wxString& path) {
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool FileUtil::IsWritableDir(const wxString& path) {
    return DirExists(path) && ::access(path.fn_str(), W_OK | X_OK) == 0;
}

void FileUtil::ListFilesByExtension(const wxString& folder, wxArrayString& files,
                                    const wxString& pattern) {
    wxString wanted = pattern.AfterLast('.');
    wxLogNull noErrorBoxes;
    wxDir dir;
    if (!DirExists(folder) || !dir.Open(folder))
        return;
    wxString name;
    for (bool more = dir.GetFirst(&name, wxEmptyString, wxDIR_FILES); more;
         more = dir.GetNext(&name)) {
        wxString path = folder + "/" + name;
        if (!FileExists(path))
            continue;
        if (name.AfterLast('.').Lower() == wanted)
            files.Add(path);
    }
}

wxString FileUtil::GetLogFilePath() {
    wxString dir = AppUtil::GetWorkDir() + "/Log";
    if (!DirExists(dir))
        MakeDir(dir);
    wxString day = wxDateTime::Now().Format("%Y-%m-%d");
    day.Replace("-", "");
    return dir + "/" + day + ".log";
}

void FileUtil::WriteLog(const wxString& message) {
    std::lock_guard<std::mutex> lock(LogMutex());
    wxString path = GetLogFilePath();
    wxString record = "# ";
    if (message.empty())
        record += wxString('.', 43) + "\n";
    else
        record += wxDateTime::Now().Format("%H:%M:%S") + " " + message;

    FILE* file = std::fopen(path.fn_str(), "ab");
    if (!file)
        return;
    const wxScopedCharBuffer utf8 = record.utf8_str();
    std::fwrite(utf8.data(), 1, utf8.length(), file);
    std::fclose(file);
}

wxString FileUtil::FormatLogEvent(const wxString& message, const wxString& detail, int code) {
    // Names come from the file system: a newline in one must not forge a record.
    return wxString::Format("%s [%s] [%d]\n", PathText::Printable(message),
                            PathText::Printable(detail), code);
}

void FileUtil::WriteLogEvent(const wxString& message, const wxString& detail, int code) {
    WriteLog(FormatLogEvent(message, detail, code));
}

bool FileUtil::WriteFileAtomically(const wxString& path, const std::string& data) {
    return AtomicFileWriter::Write(path, data);
}
