#include "core/AppLanguage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {
// The catalogue the environment (unset variables left out) chooses among these.
wxString ChooseFrom(const std::map<std::string, wxString>& environment) {
    wxArrayString available;
    for (const char* language : {"de", "fr", "zh_CN"})
        available.Add(language);
    return AppLanguage::Choose(
        [&](const char* name) {
            const auto found = environment.find(name);
            return found == environment.end() ? wxString() : found->second;
        },
        available);
}
} // namespace

TEST(AppLanguage, ChoosesAsGettextReadsTheEnvironment) {
    EXPECT_EQ("de", ChooseFrom({{"LANG", "de_DE.UTF-8"}}));
    EXPECT_EQ("fr", ChooseFrom({{"LANG", "fr_CA.ISO-8859-1@euro"}}));
    EXPECT_EQ("zh_CN", ChooseFrom({{"LC_ALL", "zh_CN.UTF-8"}}));
    // The first set of LC_ALL, LC_MESSAGES and LANG counts, even without a catalogue.
    EXPECT_EQ("fr", ChooseFrom({{"LC_ALL", "fr_FR.UTF-8"}, {"LANG", "de_DE.UTF-8"}}));
    EXPECT_EQ("de", ChooseFrom({{"LC_MESSAGES", "de_AT.UTF-8"}, {"LANG", "fr_FR.UTF-8"}}));
    EXPECT_EQ("", ChooseFrom({{"LC_ALL", "it_IT.UTF-8"}, {"LANG", "de_DE.UTF-8"}}));
    // LANGUAGE lists preferences before them; the first with a catalogue is taken.
    EXPECT_EQ("fr", ChooseFrom({{"LANGUAGE", "pt_BR:fr:de"}, {"LANG", "de_DE.UTF-8"}}));
    EXPECT_EQ("de", ChooseFrom({{"LANGUAGE", "pt_BR:"}, {"LANG", "de_DE.UTF-8"}}));
    // English, asked for anywhere in the list, ends the search.
    EXPECT_EQ("", ChooseFrom({{"LANGUAGE", "en_GB:de"}, {"LANG", "de_DE.UTF-8"}}));
    EXPECT_EQ("", ChooseFrom({{"LC_ALL", "C.UTF-8"}, {"LANG", "de_DE.UTF-8"}}));
    EXPECT_EQ("", ChooseFrom({}));
    // Simplified characters for mainland China and Singapore, none for Taiwan.
    EXPECT_EQ("zh_CN", ChooseFrom({{"LANGUAGE", "zh"}}));
    EXPECT_EQ("zh_CN", ChooseFrom({{"LANG", "zh_SG.UTF-8"}}));
    EXPECT_EQ("", ChooseFrom({{"LANG", "zh_TW.UTF-8"}}));
}
