#include "PopplerCheck.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

CommandResult RunCommand(const std::string& command) {
    CommandResult r;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.output.append(buf, n);
    int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

namespace {

PopplerView Pdfinfo(const std::string& path, const std::string& option,
                    const std::string& password) {
    std::string cmd = "pdfinfo ";
    if (!password.empty())
        cmd += option + " " + ShellQuote(password) + " ";
    CommandResult r = RunCommand(cmd + ShellQuote(path));
    PopplerView v;
    v.opened = r.status == 0;
    std::istringstream lines(r.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Pages:", 0) == 0)
            v.pages = std::atoi(line.c_str() + 6);
        if (line.rfind("Encrypted:", 0) == 0) {
            v.encrypted = line.find("yes") != std::string::npos;
            size_t open = line.find('(');
            size_t close = line.rfind(')');
            if (open != std::string::npos && close != std::string::npos && close > open)
                v.permissions = line.substr(open + 1, close - open - 1);
        }
    }
    return v;
}

} // namespace

PopplerView ReadWithPoppler(const std::string& path, const std::string& userPassword) {
    return Pdfinfo(path, "-upw", userPassword);
}

PopplerView ReadWithPopplerAsOwner(const std::string& path, const std::string& ownerPassword) {
    return Pdfinfo(path, "-opw", ownerPassword);
}

QpdfView ReadWithQpdf(const std::string& path, const std::string& password) {
    // --show-encryption says which password it was given, or that it was wrong.
    const CommandResult r = RunCommand("qpdf --show-encryption --password=" + ShellQuote(password) +
                                       " " + ShellQuote(path));
    QpdfView v;
    v.shown = r.output;
    v.opened = r.status == 0 && r.output.find("Supplied password is") != std::string::npos;
    v.owner = r.output.find("Supplied password is owner password") != std::string::npos;
    return v;
}

bool OpensWithMuPdf(const std::string& path, const std::string& password) {
    const std::string option = password.empty() ? "" : "-p " + ShellQuote(password) + " ";
    const CommandResult r = RunCommand("mutool info " + option + ShellQuote(path));
    return r.status == 0 && r.output.find("Pages:") != std::string::npos;
}
