#include "cli/CliOptions.h"

#include "batch/StartChecks.h"
#include "core/AppUtil.h"
#include "core/FileUtil.h"
#include "core/PathText.h"
#include "engine/api/WipeSecret.h"
#include "core/StringUtil.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <istream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <tuple>

namespace {

const char* const kLevels[] = {"rc4-40", "rc4-128", "aes128", "aes256"};

// A password file holds one line; anything bigger is not a password file, and a
// device such as /dev/zero would never end.
constexpr size_t kMaxPasswordFile = 4096;

// The first line of file ("-": input) into line; "" or why it cannot be read.
std::string ReadFirstLine(const std::string& file, std::istream& input, std::string& line) {
    std::string data;
    if (file == "-") {
        char ch = 0;
        while (data.size() <= kMaxPasswordFile && input.get(ch) && ch != '\n')
            data += ch;
        if (data.size() > kMaxPasswordFile)
            return "its first line is longer than 4 KB";
    } else {
        struct stat st;
        if (::stat(file.c_str(), &st) != 0)
            return "it does not exist";
        if (!S_ISREG(st.st_mode))
            return "it is not a regular file";
        if (st.st_size > static_cast<off_t>(kMaxPasswordFile))
            return "it is larger than 4 KB";
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return "it cannot be opened";
        std::getline(in, data);
    }
    line = data;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return "";
}

// Applies the --allow list; returns an error text or "".
std::string ApplyPermissions(const std::string& list, int level, EncryptOptions& o) {
    bool high = false, low = false;
    std::stringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item == "all") {
            high = true;
            o.copy = o.modify = o.annotate = true;
            if (level != 0)
                o.fillForms = o.accessibilityCopy = o.assemble = true;
        } else if (item == "none") {
        } else if (item == "print-high") {
            high = true;
        } else if (item == "print-low") {
            low = true;
        } else if (item == "copy") {
            o.copy = true;
        } else if (item == "modify") {
            o.modify = true;
        } else if (item == "annotate") {
            o.annotate = true;
        } else if (item == "forms" || item == "accessibility" || item == "assemble") {
            if (level == 0)
                return "--allow " + item + " cannot be expressed with rc4-40";
            (item == "forms"           ? o.fillForms
             : item == "accessibility" ? o.accessibilityCopy
                                       : o.assemble) = true;
        } else {
            return "--allow: unknown permission \"" + item + "\"";
        }
    }
    if (high && low && level != 0)
        return "--allow: choose one of print-high and print-low";
    if (level == 0)
        o.PrintPermission = (high || low) ? 1 : 0;
    else
        o.PrintPermission = high ? 2 : low ? 3 : 0;
    return "";
}

} // namespace

CliOptions::Result CliOptions::Parse(int argc, const char* const* argv, std::istream& input,
                                     CliSettings& settings, std::string& message) {
    CLI::App app("Encrypts PDF files with passwords and permissions.\n"
                 "Each PATH is a file (taken as a PDF whatever its name) or a folder whose PDF "
                 "files are taken.",
                 "pdfzerovovor-cli");
    app.set_version_flag("--version",
                         (AppUtil::GetProductName() + " " + AppUtil::GetVersion()).utf8_string());
    std::string user, owner, userFile, ownerFile, level = "aes256", allow = "none";
    unsigned cores = std::thread::hardware_concurrency();
    int jobs = cores ? static_cast<int>(cores) : 1;
    WipeOnExit wipeUser(user), wipeOwner(owner);
    app.add_option("PATH", settings.paths, "PDF files and folders")->required();
    app.add_option("-o,--output", settings.outputDir, "output folder (must exist)")->required();
    auto* u = app.add_option("-u,--user-password", user, "password to open the files");
    auto* p = app.add_option("-p,--owner-password", owner, "password to change permissions");
    app.add_option("--user-password-file", userFile,
                   "first line of the file is the user "
                   "password; - reads standard input")
        ->excludes(u);
    app.add_option("--owner-password-file", ownerFile,
                   "first line of the file is the owner "
                   "password; - reads standard input")
        ->excludes(p);
    app.add_option("-l,--level", level, "aes256 (default), aes128, rc4-128 or rc4-40")
        ->check(CLI::IsMember({"aes256", "aes128", "rc4-128", "rc4-40"}));
    app.add_option("-a,--allow", allow,
                   "comma-separated: print-high, print-low, copy, modify, annotate, forms, "
                   "accessibility, assemble, all or none (default); only with an owner password");
    app.add_option("-j,--jobs", jobs, "files encrypted in parallel (default: number of cores)")
        ->check(CLI::Range(1, 64));
    app.add_flag("-r,--recursive", settings.recursive, "descend into subfolders");
    app.add_flag("-q,--quiet", settings.quiet, "print only files that were not written");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        message = app.help();
        return Done;
    } catch (const CLI::CallForVersion&) {
        message = app.version() + "\n";
        return Done;
    } catch (const CLI::ParseError& e) {
        message = e.what();
        return UsageError;
    }

    if (userFile == "-" && ownerFile == "-") {
        message = "standard input can give only one of the passwords";
        return UsageError;
    }
    RunOptions& run = settings.run;
    run.userPasswordEnabled = u->count() > 0 || !userFile.empty();
    run.ownerPasswordEnabled = p->count() > 0 || !ownerFile.empty();
    for (auto [file, password, which] : {std::make_tuple(&userFile, &user, "user"),
                                          std::make_tuple(&ownerFile, &owner, "owner")}) {
        if (file->empty())
            continue;
        const std::string why = ReadFirstLine(*file, input, *password);
        if (!why.empty()) {
            message = std::string("cannot read the ") + which + " password file " + *file + ": " +
                      why;
            return UsageError;
        }
    }
    EncryptOptions& o = run.options;
    o.userPassword = wxString::FromUTF8(user.c_str());
    o.ownerPassword = wxString::FromUTF8(owner.c_str());
    // Bytes that are not UTF-8 give an empty text.
    if (o.userPassword.utf8_string() != user || o.ownerPassword.utf8_string() != owner) {
        message = "Passwords must be UTF-8 text.";
        return UsageError;
    }
    for (int i = 0; i < 4; ++i) {
        if (level == kLevels[i])
            o.EncryptionLevel = i;
    }
    wxString check = CheckPasswords(run);
    if (!check.empty()) {
        message = check.utf8_string();
        return UsageError;
    }

    message = ApplyPermissions(allow, o.EncryptionLevel, o);
    if (!message.empty())
        return UsageError;

    while (settings.outputDir.size() > 1 && settings.outputDir.back() == '/')
        settings.outputDir.pop_back();
    wxString out = PathText::FromBytes(settings.outputDir);
    if (!FileUtil::DirExists(out)) {
        message = "Output directory doesn't exist.";
        return UsageError;
    }
    if (!FileUtil::IsWritableDir(out)) {
        message = "Output directory is not writable.";
        return UsageError;
    }
    settings.jobs = jobs;
    return Run;
}
