#include "batch/EncryptParams.h"
#include "batch/OutputNames.h"
#include "batch/PasswordRules.h"
#include "batch/StartChecks.h"
#include "engine/api/PasswordEncoding.h"

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
    EXPECT_TRUE(PasswordEncoding::ToPdfDocEncoding("\xE2\x82\xAC\xC3\xA9", bytes));
    EXPECT_EQ(bytes, "\xA0\xE9");
    EXPECT_FALSE(PasswordEncoding::ToPdfDocEncoding("\xE3\x83\x91", bytes));
}

TEST(PasswordRules, WhatTheEngineWouldRefuseIsRefusedBeforeARun) {
    const struct {
        const char* password; // UTF-8
        const char* r6;       // a word of the AES-256 refusal, "" for none
    } cases[] = {
        {"a\tb", "control characters"},
        {"a\rb", "control characters"},
        {"a\nb", "control characters"},
        {"a\x7F"
         "b",
         "control characters"},
        {"a\xE2\x80\x8E"
         "b",
         "direction marks"},                      // U+200E
        {"abc\xD7\x90\xD7\x91", "right-to-left"}, // Latin, then Hebrew
        {"\xD7\x90\xD7\x91\xD7\x92", ""},         // Hebrew alone
        {"caf\x65\xCC\x81 \xE5\xAF\x86", ""},     // decomposed, CJK
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        const wxString password = wxString::FromUTF8(c.password);
        const wxString r6 = PasswordRules::Check(password, PDFMS_LEVEL_AES_256);
        EXPECT_EQ(r6.empty(), *c.r6 == '\0') << r6;
        EXPECT_TRUE(r6.Contains(c.r6)) << r6;
        // No control character has a code a password may use at R2 to R4.
        if (std::string(c.r6) == "control characters") {
            EXPECT_TRUE(PasswordRules::Check(password, PDFMS_LEVEL_AES_128).Contains("Latin"));
        }
        // The engine reads the password the check accepts, and only that.
        std::string prepared;
        EXPECT_EQ(PasswordEncoding::Prepare(PDFMS_LEVEL_AES_256, c.password, prepared), r6.empty());
    }
}
