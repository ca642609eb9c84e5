#include "OptionFileFixture.h"

#include "update/DomainOption.h"

#include <gtest/gtest.h>

OptionFileFixture::OptionFileFixture(const std::string& updateBase) {
    const std::string path = m_dir.file("option.cfg");
    TempDir::WriteFile(path, std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                         "<option><values>\n<v>") +
                                 kHelpUrl + "</v>\n<v>unused</v>\n<v>" + kSupportUrl +
                                 "</v>\n<v>unused</v>\n<v>" + updateBase + "</v>\n<v>" +
                                 kDownloadUrl + "</v>\n<v>unused</v>\n</values></option>\n");
    g_option = new DomainOption(wxString::FromUTF8(path));
    EXPECT_TRUE(g_option->ReadOptions());
}

OptionFileFixture::~OptionFileFixture() {
    delete g_option;
    g_option = nullptr;
}
