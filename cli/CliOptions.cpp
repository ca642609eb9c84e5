#include "cli/CliOptions.h"

#include "batch/StartChecks.h"
#include "core/AppUtil.h"
#include "core/FileUtil.h"
#include "core/PathText.h"
#include "engine/api/WipeSecret.h"
#include "core/StringUtil.h"
#include "cli/PasswordTable.h"
#include "cli/PermissionList.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <istream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <tuple>

namespace {

// A password file holds one line; anything bigger is not a password file, and a
// device such as /dev/zero would never end.
constexpr size_t kMaxPasswordFile = 4096;

// A table of passwords for many files stays far below this.
constexpr off_t kMaxTableFile = 16 << 20;

// Long enough for any tag; names stay far below the 255 bytes a file name may have.
constexpr size_t kMaxSuffix = 64;

// The whole of a regular file of at most maxSize bytes; "" or why it cannot be read.
std::string ReadSmallFile(const std::string& file, off_t maxSize, std::string& data) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0)
        return "it does not exist";
    if (!S_ISREG(st.st_mode))
        return "it is not a regular file";
    if (st.st_size > maxSize)
        return "it is too large";
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return "it cannot be opened";
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return "";
}

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
        const std::string why = ReadSmallFile(file, static_cast<off_t>(kMaxPasswordFile), data);
        if (!why.empty())
            return why == "it is too large" ? "it is larger than 4 KB" : why;
        data = data.substr(0, data.find('\n'));
    }
    line = data;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
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
    std::string overwrite = "never", csvFile, sourceFile, source;
    WipeOnExit wipeSource(source);
    unsigned cores = std::thread::hardware_concurrency();
    int jobs = cores ? static_cast<int>(cores) : 1;
    WipeOnExit wipeUser(user), wipeOwner(owner);
    app.add_option("PATH", settings.paths, "PDF files and folders");
    app.add_option("-o,--output", settings.outputDir, "output folder (must exist)")->required();
    auto* u = app.add_option("-u,--user-password", user, "password to open the files");
    auto* p = app.add_option("-p,--owner-password", owner,
                             "password to change permissions; without one the user password is "
                             "the owner password too (an output never has an empty owner "
                             "password), so whoever has it has full rights");
    auto* uf = app.add_option("--user-password-file", userFile,
                              "first line of the file is the user password; - reads standard "
                              "input")
                   ->excludes(u);
    app.add_option("--owner-password-file", ownerFile,
                   "first line of the file is the owner password; - reads standard input")
        ->excludes(p);
    app.add_option("-l,--level", level, "aes256 (default), aes128, rc4-128 or rc4-40")
        ->check(CLI::IsMember({"aes256", "aes128", "rc4-128", "rc4-40"}));
    app.add_option("-a,--allow", allow,
                   "comma-separated: print-high, print-low, copy, modify, annotate, forms, "
                   "accessibility, assemble, all or none (default); only with an owner password");
    app.add_option("-j,--jobs", jobs, "files encrypted in parallel (default: number of cores)")
        ->check(CLI::Range(1, 64));
    app.add_flag("-r,--recursive", settings.recursive,
                 "descend into subfolders; outputs keep the folder tree below the output folder");
    app.add_option("--suffix", settings.suffix,
                   "put before .pdf in output names (default _encryption; at most 64 bytes, no "
                   "\"/\" or control characters)");
    app.add_option("--overwrite", overwrite,
                   "when an output exists: never (default: the file fails), replace, or rename "
                   "(name_encryption (2).pdf)")
        ->check(CLI::IsMember({"never", "replace", "rename"}));
    auto* csv = app.add_option("--passwords-csv", csvFile,
                               "rows path,user,owner[,level[,allow]] giving listed files their own "
                               "passwords and settings; listed files are taken as inputs too; a "
                               "row that cannot be used (a file that does not exist included) "
                               "refuses the whole table");
    auto* generate =
        app.add_flag("--generate-passwords", settings.generatePasswords,
                     "a random user password for every file (also its owner password unless -p "
                     "gives one), written to the --report file")
            ->excludes(u)
            ->excludes(uf)
            ->excludes(csv);
    app.add_option("--report", settings.reportPath,
                   "with --generate-passwords: the file to create (mode 0600) listing source, "
                   "output, user and owner password of every file written; no output may "
                   "replace it")
        ->needs(generate);
    app.add_option("--source-password-file", sourceFile,
                   "first line of the file opens encrypted sources, which then take the new "
                   "protection: the owner password always, a user password only when the "
                   "source restricts nothing; - reads standard input");
    app.add_flag("--decrypt", settings.run.decrypt,
                 "write unencrypted copies of encrypted sources (with --source-password-file, "
                 "under the same rule); default suffix _decrypted")
        ->excludes(u)
        ->excludes(p)
        ->excludes(uf)
        ->excludes(generate)
        ->excludes(csv);
    app.add_flag("--json", settings.json,
                 "one JSON object per file and a summary on standard output; messages go to "
                 "standard error");
    app.add_flag("--preserve-time", settings.preserveTime,
                 "outputs keep their source's modification time");
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

    if (settings.paths.empty() && csvFile.empty()) {
        message = "PATH is required";
        return UsageError;
    }
    if (settings.generatePasswords && settings.reportPath.empty()) {
        message = "--generate-passwords needs --report FILE";
        return UsageError;
    }
    if (settings.suffix.find('/') != std::string::npos) {
        message = "--suffix cannot hold a \"/\"";
        return UsageError;
    }
    // The suffix lands in every output name: a line break or an escape there would
    // forge lines in the log and the terminal.
    if (std::any_of(settings.suffix.begin(), settings.suffix.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        message = "--suffix cannot hold control characters";
        return UsageError;
    }
    if (settings.suffix.size() > kMaxSuffix) {
        message = "--suffix can be at most 64 bytes long";
        return UsageError;
    }
    settings.overwrite = overwrite == "replace"  ? OverwritePolicy::Replace
                         : overwrite == "rename" ? OverwritePolicy::Rename
                                                 : OverwritePolicy::Never;
    if ((userFile == "-") + (ownerFile == "-") + (sourceFile == "-") > 1) {
        message = "standard input can give only one of the passwords";
        return UsageError;
    }
    if (settings.run.decrypt && sourceFile.empty()) {
        message = "--decrypt needs --source-password-file";
        return UsageError;
    }
    if (settings.run.decrypt && app.count("--suffix") == 0)
        settings.suffix = "_decrypted";
    RunOptions& run = settings.run;
    run.userPasswordEnabled = u->count() > 0 || !userFile.empty();
    run.ownerPasswordEnabled = p->count() > 0 || !ownerFile.empty();
    for (auto [file, password, which] :
         {std::make_tuple(&userFile, &user, "user"), std::make_tuple(&ownerFile, &owner, "owner"),
          std::make_tuple(&sourceFile, &source, "source")}) {
        if (file->empty())
            continue;
        const std::string why = ReadFirstLine(*file, input, *password);
        if (!why.empty()) {
            message =
                std::string("cannot read the ") + which + " password file " + *file + ": " + why;
            return UsageError;
        }
    }
    EncryptOptions& o = run.options;
    o.userPassword = wxString::FromUTF8(user.c_str());
    o.ownerPassword = wxString::FromUTF8(owner.c_str());
    // Bytes that are not UTF-8 give an empty text.
    run.sourcePassword = wxString::FromUTF8(source.c_str());
    if (o.userPassword.utf8_string() != user || o.ownerPassword.utf8_string() != owner ||
        run.sourcePassword.utf8_string() != source) {
        message = "Passwords must be UTF-8 text.";
        return UsageError;
    }
    PermissionList::Level(level, o.EncryptionLevel);
    message = PermissionList::Apply(allow, o.EncryptionLevel, o);
    if (!message.empty())
        return UsageError;

    // Generated user passwords are checked like typed ones, with one standing in.
    RunOptions checked = run;
    if (settings.generatePasswords) {
        checked.userPasswordEnabled = true;
        checked.options.userPassword = wxString('x', 20);
    }
    // A decrypted copy has no passwords to check.
    settings.hasPasswords =
        checked.userPasswordEnabled || checked.ownerPasswordEnabled || run.decrypt;
    if (!run.decrypt && (settings.hasPasswords || csvFile.empty())) {
        const wxString check = CheckPasswords(checked);
        if (!check.empty()) {
            message = check.utf8_string();
            return UsageError;
        }
    }
    if (!csvFile.empty()) {
        std::string text;
        const std::string why = ReadSmallFile(csvFile, kMaxTableFile, text);
        if (!why.empty()) {
            message = "cannot read the password table " + csvFile + ": " + why;
            return UsageError;
        }
        settings.table = std::make_shared<PasswordTable>();
        if (!settings.table->Load(text, csvFile, run, message))
            return UsageError;
    }

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
