#include "cli/PasswordReport.h"

#include "cli/CliText.h"
#include "core/PathText.h"
#include "engine/api/WriteAll.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
std::string Quoted(const std::string& field) {
    std::string out = "\"";
    for (char c : field)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}
} // namespace

PasswordReport::~PasswordReport() {
    Close();
}

std::string PasswordReport::Create(const std::string& path) {
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return errno == EEXIST ? TrUtf8("it exists already (it is never replaced)")
                               : std::string(std::strerror(errno));
    Write("source,output,user,owner\r\n");
    return "";
}

void PasswordReport::OnItemResult(const BatchItem& item, int, const ItemResult& result) {
    if (result.status != ItemStatus::Finished || !item.options)
        return;
    const RunOptions& run = *item.options;
    const wxString& owner =
        run.ownerPasswordEnabled ? run.options.ownerPassword : run.options.userPassword;
    std::string line = Quoted(PathText::ToBytes(item.path)) + "," +
                       Quoted(PathText::ToBytes(result.output)) + "," +
                       Quoted(run.options.userPassword.utf8_string()) + "," +
                       Quoted(owner.utf8_string()) + "\r\n";
    std::lock_guard<std::mutex> lock(m_mutex);
    Write(line);
    ::explicit_bzero(&line[0], line.size());
}

void PasswordReport::Write(const std::string& text) {
    if (m_fd >= 0 && WriteAll(m_fd, text.data(), text.size()) != text.size())
        m_failed = true;
}

bool PasswordReport::Close() {
    if (m_fd < 0)
        return !m_failed;
    if (::fsync(m_fd) != 0)
        m_failed = true;
    ::close(m_fd);
    m_fd = -1;
    return !m_failed;
}
