#include "batch/EncryptParams.h"
#include "batch/OutputNames.h"
#include "batch/PasswordRules.h"
#include "batch/StartChecks.h"

#include <gtest/gtest.h>

TEST(OutputNames, CutsAtTheLastDotAndKeepsTheFolderAsGiven) {
    EXPECT_EQ(MakeOutputPath("/out", "report.pdf", ".pdf"), "/out/report_encryption.pdf");
    EXPECT_EQ(MakeOutputPath("/out", "annual.report.pdf", ".pdf"),
              "/out/annual.report_encryption.pdf");
    EXPECT_EQ(MakeOutputPath("/out", "noextension", ".pdf"), "/out/_encryption.pdf");
    // A root folder keeps its slash; the doubled one is harmless and expected.
    EXPECT_EQ(MakeOutputPath("C:/", "a.pdf", ".pdf"), "C://a_encryption.pdf");
}

namespace {
RunOptions EverythingPermitted() {
    RunOptions run;
    run.options.userPassword = "open";
    run.options.ownerPassword = "owner";
    run.options.EncryptionLevel = 2;
    run.options.PrintPermission = 3;
    run.options.copy = run.options.modify = run.options.annotate = true;
    run.options.fillForms = run.options.accessibilityCopy = run.options.assemble = true;
    return run;
}
} // namespace

TEST(EncryptParams, OnlyTheUserPasswordLeavesEveryPermissionWordZero) {
    RunOptions run = EverythingPermitted();
    run.userPasswordEnabled = true;
    EncryptParams params(run);
    const PdfMSEncryptParams* p = params.get();
    EXPECT_EQ(p->level, 2);
    EXPECT_STREQ(p->userPassword, "open");
    EXPECT_STREQ(p->ownerPassword, "");
    EXPECT_EQ(p->printing, 0);
    EXPECT_EQ(p->copy + p->modify + p->annotate + p->fillForms + p->accessibility + p->assemble +
                  p->reserved,
              0);
}

TEST(EncryptParams, TheOwnerPasswordCarriesPrintingAndFlags) {
    RunOptions run = EverythingPermitted();
    run.ownerPasswordEnabled = true;
    run.options.modify = false;
    EncryptParams params(run);
    const PdfMSEncryptParams* p = params.get();
    EXPECT_STREQ(p->userPassword, "");
    EXPECT_STREQ(p->ownerPassword, "owner");
    EXPECT_EQ(p->printing, 3);
    EXPECT_EQ(p->copy, 1);
    EXPECT_EQ(p->modify, 0);
    EXPECT_EQ(p->assemble, 1);
    EXPECT_EQ(p->reserved, 0);
    for (int32_t word : p->unused)
        EXPECT_EQ(word, 0);
}

TEST(PasswordRules, EachLevelTakesWhatItsKeysCanHold) {
    RunOptions run = EverythingPermitted();
    run.userPasswordEnabled = run.ownerPasswordEnabled = true;
    const wxString a32(32, 'a');
    // Beyond 32 bytes R2 to R4 ignore the rest: "aaa...X" and "aaa...Y" would be one
    // password, and the user's would carry the owner's rights.
    run.options.userPassword = a32 + "X";
    run.options.ownerPassword = a32 + "Y";
    for (int level : {0, 1, 2})
        EXPECT_NE(CheckPasswords((run.options.EncryptionLevel = level, run)), "") << level;
    run.options.EncryptionLevel = 3; // R6 reads 127 bytes
    EXPECT_EQ(CheckPasswords(run), "");
    run.options.userPassword = wxString(128, 'a');
    EXPECT_EQ(CheckPasswords(run), "Passwords can be at most 127 bytes long.");

    std::string bytes;
    EXPECT_TRUE(PasswordRules::ToPdfDocEncoding(wxString::FromUTF8("\xE2\x82\xAC\xC3\xA9"), bytes));
    EXPECT_EQ(bytes, "\xA0\xE9");
    EXPECT_FALSE(PasswordRules::ToPdfDocEncoding(wxString::FromUTF8("\xE3\x83\x91"), bytes));
}
