#include "core/AppUtil.h"
#include "core/FileUtil.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <thread>
#include <vector>

namespace {
std::string LogText() {
    return TempDir::ReadFile(FileUtil::GetLogFilePath().utf8_string());
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
} // namespace

TEST(LogTest, DayFileNameAndRecordForms) {
    ScopedHome home;
    wxString path = FileUtil::GetLogFilePath();
    EXPECT_TRUE(std::regex_match(path.utf8_string(), std::regex(".*/Brisklowan files/"
                                                                "Brisklowan PDF Zerovovor/Log/"
                                                                "20[0-9]{6}\\.log")));
    FileUtil::WriteLog("");
    FileUtil::WriteLogEvent("Output Dir ", "/home/u/out", 0);
    FileUtil::WriteLog("no line end");
    FileUtil::WriteLogEvent("Fail", "", -1);

    std::vector<std::string> lines = Lines(LogText());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "# ...........................................");
    EXPECT_TRUE(std::regex_match(lines[1],
                                 std::regex("# \\d\\d:\\d\\d:\\d\\d Output Dir  \\[/home/u/out\\] "
                                            "\\[0\\]")))
        << lines[1];
    // A message without a line end runs into the next record.
    EXPECT_TRUE(std::regex_match(
        lines[2], std::regex("# \\d\\d:\\d\\d:\\d\\d no line end# \\d\\d:\\d\\d:\\d\\d Fail "
                             "\\[\\] \\[-1\\]")))
        << lines[2];

    // A file name holding a newline cannot forge a record of its own.
    FileUtil::WriteLogEvent("Converting", "/in/a.pdf\n# 01:02:03 Finished [payroll.pdf] [0]", 0);
    lines = Lines(LogText());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[3].find("[/in/a.pdf\\x0A# 01:02:03 Finished [payroll.pdf] [0]] [0]"),
              std::string::npos)
        << lines[3];
}

TEST(LogTest, DeletedLogFolderIsRecreated) {
    ScopedHome home;
    FileUtil::WriteLog("first\n");
    std::string folder = FileUtil::GetLogFilePath().BeforeLast('/').utf8_string();
    ASSERT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
    FileUtil::WriteLog("second\n");
    std::vector<std::string> lines = Lines(LogText());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("second"), std::string::npos);
}

TEST(LogTest, RecordsFromTwoThreadsNeverInterleave) {
    ScopedHome home;
    const int perThread = 300;
    auto writer = [&](char tag) {
        std::string body(200, tag);
        for (int i = 0; i < perThread; ++i)
            FileUtil::WriteLogEvent("Converting", wxString::FromUTF8(body.c_str()), i);
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();

    std::vector<std::string> lines = Lines(LogText());
    ASSERT_EQ(lines.size(), 2u * perThread);
    const std::regex whole("# \\d\\d:\\d\\d:\\d\\d Converting \\[(a{200}|b{200})\\] \\[\\d+\\]");
    for (const std::string& line : lines)
        ASSERT_TRUE(std::regex_match(line, whole)) << line;
}
