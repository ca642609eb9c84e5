#include "cli/CliOptions.h"

#include "batch/StartChecks.h"
#include "core/AppUtil.h"
#include "core/FileUtil.h"
#include "core/PathText.h"
#include "engine/api/WipeSecret.h"
#include "core/StringUtil.h"
#include "cli/CliText.h"
#include "cli/ParseErrorText.h"
#include "cli/PasswordTable.h"
#include "cli/PathListReader.h"
#include "cli/PermissionList.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
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
        return TrUtf8("it does not exist");
    if (!S_ISREG(st.st_mode))
        return TrUtf8("it is not a regular file");
    if (st.st_size > maxSize)
        return TrUtf8("it is too large");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return TrUtf8("it cannot be opened");
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
            return TrUtf8("its first line is longer than 4 KB");
    } else {
        const std::string why = ReadSmallFile(file, static_cast<off_t>(kMaxPasswordFile), data);
        if (!why.empty())
            return why == TrUtf8("it is too large") ? TrUtf8("it is larger than 4 KB") : why;
        data = data.substr(0, data.find('\n'));
    }
    line = data;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return "";
}

// Appends the names of the --files-from list ("-": input); "" or why it is refused.
std::string ReadPathList(const std::string& file, std::istream& input, bool nulSeparated,
                         std::vector<std::string>& paths) {
    std::string why;
    if (file == "-")
        return PathListReader::Read(input, nulSeparated, paths, why) ? "" : why;
    // Not only regular files: a pipe is what <(find ...) hands over.
    struct stat st;
    if (::stat(file.c_str(), &st) != 0)
        return TrUtf8("it does not exist");
    if (S_ISDIR(st.st_mode))
        return TrUtf8("it is a folder");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return TrUtf8("it cannot be opened");
    return PathListReader::Read(in, nulSeparated, paths, why) ? "" : why;
}

// Creates folder and what is missing above it, as mkdir -p does (the umask gives
// the modes); "" or why it cannot be made.
std::string MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        // Another process of a fleet may be making the same folder at the same moment.
        if (!part.empty() && part.back() != '/' && ::mkdir(part.c_str(), 0777) != 0 &&
            errno != EEXIST)
            return std::strerror(errno);
        if (slash == std::string::npos)
            return "";
    }
}

// The folder with links and "." resolved; "" when it cannot be.
std::string RealFolder(const std::string& folder) {
    char real[PATH_MAX];
    return ::realpath(folder.c_str(), real) ? std::string(real) : std::string();
}

// "" or why the output folder may not be used with these watched folders: its
// outputs must never land where the watch would take them again.
std::string CheckWatchedFolders(const std::vector<std::string>& watched, const std::string& output,
                                bool recursive) {
    const std::string out = RealFolder(output);
    if (out.empty())
        return ""; // made later, so no watched folder can be or lie inside it
    const std::string below = out == "/" ? out : out + "/";
    for (const std::string& dir : watched) {
        const std::string real = RealFolder(dir);
        if (real.empty())
            return FormatBytes(_("cannot watch %s: it is not a folder"), Name(dir));
        if (real == out)
            return TrUtf8(
                "the output folder cannot be a watched folder: its outputs would be taken again");
        // With -r the output tree mirrors the watched tree: below the output folder
        // it could reach back into the watched one.
        if (recursive && real.compare(0, below.size(), below) == 0)
            return FormatBytes(_("with -r the output folder cannot hold the watched folder %s"),
                               Name(dir));
    }
    return "";
}

// CLI11 writes the frame of the help itself, in English: its headings and marks
// are given in the user's language here.
void SpeakUsersLanguage(CLI::App& app) {
    auto formatter = std::make_shared<CLI::Formatter>();
    for (const char* label :
         {wxTRANSLATE("Usage"), wxTRANSLATE("OPTIONS"), wxTRANSLATE("Positionals"),
          wxTRANSLATE("REQUIRED"), wxTRANSLATE("Needs"), wxTRANSLATE("Excludes")})
        formatter->label(label, TrUtf8(label));
    app.formatter(formatter);
    // Options take the group of the defaults when made, the help flag too.
    app.option_defaults()->group(TrUtf8("Options"));
    app.set_help_flag("-h,--help", TrUtf8("Print this help message and exit"));
}

} // namespace

CliOptions::Result CliOptions::Parse(int argc, const char* const* argv, std::istream& input,
                                     CliSettings& settings, std::string& message) {
    CLI::App app(TrUtf8("Encrypts PDF files with passwords and permissions.\n"
                        "Each PATH is a file (taken as a PDF whatever its name) or a folder "
                        "whose PDF files are taken."),
                 "pdfzerovovor-cli");
    SpeakUsersLanguage(app);
    app.set_version_flag("--version",
                         (AppUtil::GetProductName() + " " + AppUtil::GetVersion()).utf8_string(),
                         TrUtf8("Display program version information and exit"));
    std::string user, owner, userFile, ownerFile, level = "aes256", allow = "none";
    std::string overwrite = "never", csvFile, sourceFile, source, filesFrom;
    bool nulSeparated = false;
    WipeOnExit wipeSource(source);
    unsigned cores = std::thread::hardware_concurrency();
    int jobs = cores ? static_cast<int>(cores) : 1;
    WipeOnExit wipeUser(user), wipeOwner(owner);
    app.add_option("PATH", settings.paths, TrUtf8("PDF files and folders"));
    auto* list =
        app.add_option(
               "--files-from", filesFrom,
               TrUtf8("also take the paths listed in the file FILE (- reads standard input), "
                      "one per line, each as if it were a PATH; a list with an empty name, a "
                      "NUL byte or a CR, a name over 4095 bytes or over a million names is "
                      "refused whole"))
            ->type_name("FILE");
    app.add_flag(
           "-0,--null", nulSeparated,
           TrUtf8("the --files-from list is NUL-separated, as find -print0 writes it, so names "
                  "may hold line breaks and CRs"))
        ->needs(list);
    app.add_option("-o,--output", settings.outputDir,
                   TrUtf8("output folder; created with its parents when missing"))
        ->required();
    auto* u = app.add_option("-u,--user-password", user, TrUtf8("password to open the files"));
    auto* p =
        app.add_option("-p,--owner-password", owner,
                       TrUtf8("password to change permissions; without one the user password is "
                              "the owner password too (an output never has an empty owner "
                              "password), so whoever has it has full rights"));
    auto* uf =
        app.add_option("--user-password-file", userFile,
                       TrUtf8("first line of the file is the user password; - reads standard "
                              "input"))
            ->excludes(u);
    app.add_option("--owner-password-file", ownerFile,
                   TrUtf8("first line of the file is the owner password; - reads standard input"))
        ->excludes(p);
    app.add_option("-l,--level", level, TrUtf8("aes256 (default), aes128, rc4-128 or rc4-40"))
        ->check(CLI::IsMember({"aes256", "aes128", "rc4-128", "rc4-40"}));
    app.add_option(
        "-a,--allow", allow,
        TrUtf8("comma-separated: print-high, print-low, copy, modify, annotate, forms, "
               "accessibility, assemble, all or none (default); only with an owner password"));
    app.add_option("-j,--jobs", jobs,
                   TrUtf8("files encrypted in parallel (default: number of cores)"))
        ->check(CLI::Range(1, 64));
    app.add_flag(
        "-r,--recursive", settings.recursive,
        TrUtf8("descend into subfolders; outputs keep the folder tree below the output folder"));
    app.add_option(
        "--suffix", settings.suffix,
        TrUtf8("put before .pdf in output names (default _encryption; at most 64 bytes, no "
               "\"/\" or control characters)"));
    app.add_option(
           "--overwrite", overwrite,
           TrUtf8("when an output exists: never (default: the file fails), replace, or rename "
                  "(name_encryption (2).pdf); with --watch, never still replaces the output "
                  "the watch wrote itself for a file that changed since"))
        ->check(CLI::IsMember({"never", "replace", "rename"}));
    auto* csv =
        app.add_option("--passwords-csv", csvFile,
                       TrUtf8("rows path,user,owner[,level[,allow]] giving listed files their own "
                              "passwords and settings; listed files are taken as inputs too; a "
                              "row that cannot be used (a file that does not exist included) "
                              "refuses the whole table"));
    auto* generate =
        app.add_flag(
               "--generate-passwords", settings.generatePasswords,
               TrUtf8("a random user password for every file (also its owner password unless -p "
                      "gives one), written to the --report file"))
            ->excludes(u)
            ->excludes(uf)
            ->excludes(csv);
    app.add_option(
           "--report", settings.reportPath,
           TrUtf8("with --generate-passwords: the file to create (mode 0600) listing source, "
                  "output, user and owner password of every file written; no output may "
                  "replace it"))
        ->needs(generate);
    app.add_option("--source-password-file", sourceFile,
                   TrUtf8("first line of the file opens encrypted sources, which then take the new "
                          "protection: the owner password always, a user password only when the "
                          "source restricts nothing; - reads standard input"));
    app.add_flag(
           "--decrypt", settings.run.decrypt,
           TrUtf8("write unencrypted copies of encrypted sources (with --source-password-file, "
                  "under the same rule); default suffix _decrypted"))
        ->excludes(u)
        ->excludes(p)
        ->excludes(uf)
        ->excludes(generate)
        ->excludes(csv);
    app.add_flag("--json", settings.json,
                 TrUtf8("one JSON object per file and a summary on standard output; messages go to "
                        "standard error"));
    app.add_flag("--preserve-time", settings.preserveTime,
                 TrUtf8("outputs keep their source's modification time"));
    app.add_flag("-q,--quiet", settings.quiet, TrUtf8("print only files that were not written"));
    auto* watch =
        app.add_option(
               "--watch", settings.watch,
               TrUtf8("after the other files, keep encrypting every PDF that lands in the "
                      "folder DIR (repeatable; with -r in its subfolders too, new ones "
                      "included, keeping the tree) until SIGTERM or Ctrl-C, which end the "
                      "watch with status 0 once the file in hand is written or abandoned; a "
                      "file is taken once unchanged for --settle seconds, and again whenever "
                      "it changes later; the output folder cannot be DIR"))
            ->allow_extra_args(false)
            ->type_name("DIR");
    app.add_option(
           "--settle", settings.settle,
           TrUtf8("with --watch: seconds a file must stay unchanged before it is taken "
                  "(default 2, fractions allowed); a file moved in waits at most 0.5 s, one "
                  "that does not end as a PDF ends (no %%EOF) at least 30 s"))
        ->check(CLI::Range(0.0, 3600.0))
        ->type_name("SECONDS")
        ->needs(watch);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        message = app.help();
        return Done;
    } catch (const CLI::CallForVersion&) {
        message = app.version() + "\n";
        return Done;
    } catch (const CLI::ParseError& e) {
        message = TranslateParseError(e.what());
        return UsageError;
    }

    if (settings.paths.empty() && csvFile.empty() && filesFrom.empty() && settings.watch.empty()) {
        message = TrUtf8("PATH is required");
        return UsageError;
    }
    if (settings.generatePasswords && settings.reportPath.empty()) {
        message = TrUtf8("--generate-passwords needs --report FILE");
        return UsageError;
    }
    if (settings.suffix.find('/') != std::string::npos) {
        message = TrUtf8("--suffix cannot hold a \"/\"");
        return UsageError;
    }
    // The suffix lands in every output name: a line break or an escape there would
    // forge lines in the log and the terminal.
    if (std::any_of(settings.suffix.begin(), settings.suffix.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        message = TrUtf8("--suffix cannot hold control characters");
        return UsageError;
    }
    if (settings.suffix.size() > kMaxSuffix) {
        message = TrUtf8("--suffix can be at most 64 bytes long");
        return UsageError;
    }
    settings.overwrite = overwrite == "replace"  ? OverwritePolicy::Replace
                         : overwrite == "rename" ? OverwritePolicy::Rename
                                                 : OverwritePolicy::Never;
    if ((userFile == "-") + (ownerFile == "-") + (sourceFile == "-") > 1) {
        message = TrUtf8("standard input can give only one of the passwords");
        return UsageError;
    }
    if (filesFrom == "-" && (userFile == "-" || ownerFile == "-" || sourceFile == "-")) {
        message = TrUtf8("standard input can give the file list or a password, not both");
        return UsageError;
    }
    if (settings.run.decrypt && sourceFile.empty()) {
        message = TrUtf8("--decrypt needs --source-password-file");
        return UsageError;
    }
    if (settings.run.decrypt && app.count("--suffix") == 0)
        settings.suffix = "_decrypted";
    RunOptions& run = settings.run;
    run.userPasswordEnabled = u->count() > 0 || !userFile.empty();
    run.ownerPasswordEnabled = p->count() > 0 || !ownerFile.empty();
    // One sentence each: the word for the password may change the sentence around it.
    for (auto [file, password, sentence] :
         {std::make_tuple(&userFile, &user,
                          wxTRANSLATE("cannot read the user password file %s: %s")),
          std::make_tuple(&ownerFile, &owner,
                          wxTRANSLATE("cannot read the owner password file %s: %s")),
          std::make_tuple(&sourceFile, &source,
                          wxTRANSLATE("cannot read the source password file %s: %s"))}) {
        if (file->empty())
            continue;
        const std::string why = ReadFirstLine(*file, input, *password);
        if (!why.empty()) {
            message = FormatBytes(wxGetTranslation(sentence), Name(*file), Name(why));
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
        message = TrUtf8("Passwords must be UTF-8 text.");
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
            message =
                FormatBytes(_("cannot read the password table %s: %s"), Name(csvFile), Name(why));
            return UsageError;
        }
        settings.table = std::make_shared<PasswordTable>();
        if (!settings.table->Load(text, csvFile, run, message))
            return UsageError;
    }

    if (!filesFrom.empty()) {
        const std::string why = ReadPathList(filesFrom, input, nulSeparated, settings.paths);
        if (!why.empty()) {
            message =
                filesFrom == "-"
                    ? FormatBytes(_("cannot read the file list from standard input: %s"), Name(why))
                    : FormatBytes(_("cannot read the file list %s: %s"), Name(filesFrom),
                                  Name(why));
            return UsageError;
        }
    }
    for (std::string& dir : settings.watch) {
        while (dir.size() > 1 && dir.back() == '/')
            dir.pop_back();
        struct stat st;
        if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            message = FormatBytes(_("cannot watch %s: it is not a folder"), Name(dir));
            return UsageError;
        }
    }

    while (settings.outputDir.size() > 1 && settings.outputDir.back() == '/')
        settings.outputDir.pop_back();
    message = CheckWatchedFolders(settings.watch, settings.outputDir, settings.recursive);
    if (!message.empty())
        return UsageError;
    // Made last, so that a command line refused for anything else leaves nothing behind.
    struct stat st;
    if (::stat(settings.outputDir.c_str(), &st) != 0) {
        const std::string why = MakeFolders(settings.outputDir);
        if (!why.empty()) {
            message = FormatBytes(_("cannot create the output folder %s: %s"),
                                  Name(settings.outputDir), Name(why));
            return UsageError;
        }
    }
    wxString out = PathText::FromBytes(settings.outputDir);
    if (!FileUtil::DirExists(out)) {
        message = TrUtf8("Output directory doesn't exist.");
        return UsageError;
    }
    if (!FileUtil::IsWritableDir(out)) {
        message = TrUtf8("Output directory is not writable.");
        return UsageError;
    }
    settings.jobs = jobs;
    return Run;
}
