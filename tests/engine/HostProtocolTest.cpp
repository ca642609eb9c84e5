#include "engine/api/HostProtocol.h"
#include "engine/api/EngineService.h"

#include <gtest/gtest.h>

namespace {

using namespace HostProtocol;

TEST(HostProtocol, EveryMessageSurvivesItsOwnCodec) {
    EncryptRequest e;
    e.source = 5;
    e.temp = 6;
    e.timeLimitMs = 20500;
    e.level = PDFMS_LEVEL_AES_256;
    e.user = "r\xC3\xA9sum\xC3\xA9";
    e.printing = PDFMS_PRINT_LOW;
    e.annotate = e.assemble = true;
    EncryptRequest e2;
    ASSERT_TRUE(Decode(Encode(e), Descriptors(e), e2));
    EXPECT_EQ(Encode(e), Encode(e2));
    EXPECT_EQ(std::vector<int>({5, 6}), Descriptors(e2));
    EXPECT_EQ(Kind::Encrypt, KindOf(Encode(e)));

    ProbeReply p{PDFMS_OPEN_REPAIRED, 1, 2147483647}, p2;
    ASSERT_TRUE(Decode(Encode(p), p2));
    EXPECT_EQ(2147483647, p2.pageCount);
    EncryptReply r{PDFMS_ERR_VERIFY, Writer::OnePass, "wrong-size+stray-hash"}, r2;
    ASSERT_TRUE(Decode(Encode(r), r2));
    EXPECT_EQ(PDFMS_ERR_VERIFY, r2.code);
    EXPECT_EQ(Writer::OnePass, r2.writer);
    EXPECT_EQ("wrong-size+stray-hash", r2.reason);
    UnlockRequest u{4, 900, "p\xC3\xA4ss"}, u2;
    ASSERT_TRUE(Decode(Encode(u), Descriptors(u), u2));
    EXPECT_EQ(Encode(u), Encode(u2));
    EXPECT_EQ(std::vector<int>({4}), Descriptors(u2));
    UnlockReply ur{PDFMS_ERR_SOURCE_RESTRICTED, 0}, ur2;
    ASSERT_TRUE(Decode(Encode(ur), ur2));
    EXPECT_EQ(PDFMS_ERR_SOURCE_RESTRICTED, ur2.code);
    // Opening a source cannot end in an output's failure.
    EXPECT_FALSE(Decode({"unlock", "3", "0"}, ur2));
    EXPECT_FALSE(Decode({"unlock", "0", "-1"}, ur2));
    EXPECT_FALSE(Decode({"unlock", "100", std::string("a\0b", 3)}, {4}, u2));
    // A request does not decode as a reply of the same name, nor the reverse.
    ProbeRequest q{7, 100};
    EXPECT_FALSE(Decode(Encode(q), p2));
    EXPECT_FALSE(Decode(Encode(p), {7}, q));
    EXPECT_EQ(Kind::Unknown, KindOf({"prob", "1"}));
    EXPECT_EQ(Kind::Unknown, KindOf({}));
}

TEST(HostProtocol, NumbersMustFillTheirFieldAndLieInRange) {
    int64_t v = 0;
    EXPECT_TRUE(ParseNumber("-12", -20, 20, v));
    EXPECT_EQ(-12, v);
    for (const char* bad :
         {"", " 1", "1 ", "+1", "0x1", "1e3", "1.0", "21", "-21", "99999999999999999999999"})
        EXPECT_FALSE(ParseNumber(bad, -20, 20, v)) << bad;

    EncryptReply reply;
    EXPECT_FALSE(Decode({"encrypt", "0x", "1", ""}, reply));
    EXPECT_FALSE(Decode({"encrypt", "0", "1"}, reply));
    EXPECT_FALSE(Decode({"encrypt", "0", "1", "clean", "x"}, reply));
    EXPECT_FALSE(Decode({"encrypt", "12", "0", ""}, reply)) << "an unknown result code";
    EXPECT_FALSE(Decode({"encrypt", "0", "0", ""}, reply)) << "a success no writer made";
    EXPECT_FALSE(Decode({"encrypt", "0", "1", "Clean\n"}, reply)) << "a reason is plain words";
    EXPECT_FALSE(Decode({"encrypt", "0", "1", std::string(64, 'a')}, reply));
    Progress progress;
    EXPECT_FALSE(Decode({"progress", "101"}, progress));
    ProbeReply probe;
    EXPECT_FALSE(Decode({"probe", "6", "0", "1"}, probe));
    EXPECT_FALSE(Decode({"probe", "0", "2", "1"}, probe));

    EncryptRequest request;
    request.timeLimitMs = 1;
    Message m = Encode(request);
    EXPECT_TRUE(Decode(m, {3, 4}, request));
    m[2] = "4"; // no such level
    EXPECT_FALSE(Decode(m, {3, 4}, request));
    m = Encode(request);
    m[3] = std::string("pass\0word", 9); // would be cut short as a C string
    EXPECT_FALSE(Decode(m, {3, 4}, request));
}

TEST(HostProtocol, RequestsCarryExactlyTheirFiles) {
    ProbeRequest probe{3, 100};
    for (const std::vector<int>& fds : {std::vector<int>{}, {3, 4}, {-1}})
        EXPECT_FALSE(Decode(Encode(probe), fds, probe)) << fds.size();
    UnlockRequest unlock{3, 100, "p"};
    for (const std::vector<int>& fds : {std::vector<int>{}, {3, 4}, {-1}})
        EXPECT_FALSE(Decode(Encode(unlock), fds, unlock)) << fds.size();
    EncryptRequest encrypt;
    encrypt.timeLimitMs = 1;
    for (const std::vector<int>& fds : {std::vector<int>{3}, {3, 4, 5}, {3, 3}, {3, -1}})
        EXPECT_FALSE(Decode(Encode(encrypt), fds, encrypt)) << fds.size();
}

} // namespace
