#include "cli/PermissionList.h"

#include "cli/CliText.h"

#include <sstream>

namespace {
const char* const kLevels[] = {"rc4-40", "rc4-128", "aes128", "aes256"};
} // namespace

bool PermissionList::Level(const std::string& name, int& level) {
    for (int i = 0; i < 4; ++i) {
        if (name == kLevels[i]) {
            level = i;
            return true;
        }
    }
    return false;
}

std::string PermissionList::Apply(const std::string& list, int level, EncryptOptions& o) {
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
                return FormatBytes(_("--allow %s cannot be expressed with rc4-40"), Name(item));
            (item == "forms"           ? o.fillForms
             : item == "accessibility" ? o.accessibilityCopy
                                       : o.assemble) = true;
        } else {
            return FormatBytes(_("--allow: unknown permission \"%s\""), Name(item));
        }
    }
    if (high && low && level != 0)
        return TrUtf8("--allow: choose one of print-high and print-low");
    if (level == 0)
        o.PrintPermission = (high || low) ? 1 : 0;
    else
        o.PrintPermission = high ? 2 : low ? 3 : 0;
    return "";
}
