#include "batch/OutputPlanner.h"

#include "batch/OutputNames.h"
#include "batch/ResultTexts.h"
#include "core/PathText.h"
#include "core/StringUtil.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

bool Exists(const wxString& path) {
    struct stat st;
    return ::lstat(PathText::ToBytes(path).c_str(), &st) == 0;
}

bool IsEarlierOutput(const BatchItem& item, uint64_t device, uint64_t inode) {
    return item.earlierOutput.second != 0 && item.earlierOutput.first == device &&
           item.earlierOutput.second == inode;
}

bool IsEarlierOutput(const BatchItem& item, const wxString& path) {
    struct stat st;
    return ::lstat(PathText::ToBytes(path).c_str(), &st) == 0 &&
           IsEarlierOutput(item, st.st_dev, st.st_ino);
}

// Creates folder and what is missing above it; false when it is not a folder after.
bool MakeFolders(const wxString& folder) {
    const std::string bytes = PathText::ToBytes(folder);
    for (size_t slash = bytes.find('/', 1);; slash = bytes.find('/', slash + 1)) {
        const std::string part = bytes.substr(0, slash);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat st;
    return ::stat(bytes.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

constexpr int kMaxRenames = 1000;

} // namespace

OutputPlanner::OutputPlanner(const Settings& settings, const RunSources& sources)
    : m_settings(settings), m_sources(sources) {}

wxString OutputPlanner::Name(const BatchItem& item, const wxString& folder, int number) const {
    wxString suffix = m_settings.suffix;
    if (number > 1)
        suffix += wxString::Format(" (%d)", number);
    return MakeOutputPath(folder, item.fileName, m_settings.extension, suffix);
}

OutputPlanner::Choice OutputPlanner::Pick(const BatchItem& item, const wxString& source,
                                          int after) {
    Choice choice;
    wxString folder = m_settings.folder;
    if (!item.outputSubfolder.empty()) {
        folder += "/" + item.outputSubfolder;
        if (!MakeFolders(folder)) {
            choice.code = kItemOutputFolder;
            return choice;
        }
    }
    const bool rename = m_settings.overwrite == OverwritePolicy::Rename;
    for (int number = after + 1; number <= (rename ? kMaxRenames : 1); ++number) {
        choice.path = Name(item, folder, number);
        if (!m_names.Claim(choice.path, source)) {
            choice.code = kItemNameTaken;
            continue;
        }
        // The user's own file of that name, listed in this run, is never written over.
        if (m_sources.Contains(choice.path))
            choice.code = kItemOutputIsSource;
        else if (m_sources.IsReport(choice.path))
            choice.code = kItemOutputIsReport;
        else if (m_settings.overwrite != OverwritePolicy::Replace && Exists(choice.path) &&
                 !IsEarlierOutput(item, choice.path))
            choice.code = kItemOutputExists;
        else
            return Choice{choice.path, 0};
        m_names.Release(choice.path, source);
    }
    return choice;
}

void OutputPlanner::Release(const wxString& output, const wxString& source) {
    m_names.Release(output, source);
}

bool OutputPlanner::MayReplace(const BatchItem& item, uint64_t device, uint64_t inode) const {
    return !m_sources.Contains(device, inode) &&
           (m_settings.overwrite == OverwritePolicy::Replace ||
            IsEarlierOutput(item, device, inode));
}
