#include "cli/PasswordTable.h"

#include "batch/StartChecks.h"
#include "cli/CliText.h"
#include "cli/CsvReader.h"
#include "cli/PermissionList.h"
#include "core/PathText.h"

#include <sys/stat.h>

namespace {

bool Identity(const std::string& path, std::pair<uint64_t, uint64_t>& id) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    id = {st.st_dev, st.st_ino};
    return true;
}

bool IsHeader(const CsvReader::Row& row) {
    return row.fields.size() >= 3 && row.fields[0] == "path" && row.fields[1] == "user" &&
           row.fields[2] == "owner";
}

} // namespace

bool PasswordTable::Load(const std::string& text, const std::string& name, const RunOptions& base,
                         std::string& error) {
    std::vector<CsvReader::Row> rows;
    if (!CsvReader::Parse(text, rows, error)) {
        error = name + " " + error;
        return false;
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        const CsvReader::Row& row = rows[r];
        // TRANSLATORS: where a password table is refused: the file's name and the line.
        const std::string where = FormatBytes(_("%s line %d: "), Name(name), row.line);
        if (row.fields.size() == 1 && row.fields[0].empty())
            continue; // an empty line
        if (r == 0 && IsHeader(row))
            continue;
        if (row.fields.size() < 3 || row.fields.size() > 5) {
            error = where + FormatBytes(_("expected path,user,owner[,level[,allow]], found %d "
                                          "columns"),
                                        static_cast<int>(row.fields.size()));
            return false;
        }
        auto options = std::make_shared<RunOptions>(base);
        EncryptOptions& o = options->options;
        o.userPassword = wxString::FromUTF8(row.fields[1].c_str());
        o.ownerPassword = wxString::FromUTF8(row.fields[2].c_str());
        if (o.userPassword.utf8_string() != row.fields[1] ||
            o.ownerPassword.utf8_string() != row.fields[2]) {
            error = where + TrUtf8("passwords must be UTF-8 text");
            return false;
        }
        options->userPasswordEnabled = !row.fields[1].empty();
        options->ownerPasswordEnabled = !row.fields[2].empty();
        if (row.fields.size() > 3 && !row.fields[3].empty() &&
            !PermissionList::Level(row.fields[3], o.EncryptionLevel)) {
            error = where + FormatBytes(_("unknown level \"%s\""), Name(row.fields[3]));
            return false;
        }
        std::string why;
        if (row.fields.size() > 4) {
            // A row's own permissions replace the command line's.
            o.PrintPermission = 0;
            o.copy = o.modify = o.annotate = o.fillForms = o.accessibilityCopy = o.assemble = false;
            why = PermissionList::Apply(row.fields[4], o.EncryptionLevel, o);
        }
        if (why.empty())
            why = CheckPasswords(*options).utf8_string();
        if (!why.empty()) {
            error = where + why;
            return false;
        }
        const std::string& path = row.fields[0];
        std::pair<uint64_t, uint64_t> id;
        if (!Identity(path, id)) {
            error = where + FormatBytes(_("no such file: %s"),
                                        PathText::Printable(PathText::FromBytes(path)));
            return false;
        }
        if (!m_rows.emplace(id, options).second) {
            error = where + TrUtf8("the file is listed twice");
            return false;
        }
        m_paths.push_back(path);
    }
    if (m_paths.empty()) {
        error = FormatBytes(_("%s lists no file"), Name(name));
        return false;
    }
    return true;
}

std::shared_ptr<const RunOptions> PasswordTable::Find(const std::string& path) const {
    std::pair<uint64_t, uint64_t> id;
    if (!Identity(path, id))
        return nullptr;
    auto it = m_rows.find(id);
    return it == m_rows.end() ? nullptr : it->second;
}
