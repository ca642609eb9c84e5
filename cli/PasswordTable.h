#pragma once
// --passwords-csv: a file of rows "path,user,owner[,level[,allow]]" (an optional
// header row first) giving listed files passwords and settings of their own. A
// file is matched by identity, so any path that names it counts. Any row the table
// cannot read with certainty (a file that does not exist included), or a table
// that lists no file, refuses the whole table: a file must never be encrypted with
// the default password because its own row was mistyped.

#include "batch/EncryptOptions.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class PasswordTable {
public:
    // False with error set when the table cannot be used. `base` gives the level and
    // permissions of rows that name none.
    bool Load(const std::string& text, const std::string& name, const RunOptions& base,
              std::string& error);

    // The options of the file at path, or null when it is not listed.
    std::shared_ptr<const RunOptions> Find(const std::string& path) const;
    // The listed files in table order (so a table alone can name the inputs).
    const std::vector<std::string>& paths() const { return m_paths; }

private:
    std::map<std::pair<uint64_t, uint64_t>, std::shared_ptr<const RunOptions>> m_rows;
    std::vector<std::string> m_paths;
};
