#include "engine/api/HostProtocol.h"

#include "engine/api/EngineService.h"

#include <charconv>
#include <limits>

namespace HostProtocol {

namespace {

constexpr const char* kHelloName = "hello";
constexpr const char* kProbeName = "probe";
constexpr const char* kUnlockName = "unlock";
constexpr const char* kEncryptName = "encrypt";
constexpr const char* kProgressName = "progress";
constexpr const char* kFatalName = "fatal";

constexpr size_t kProbeRequestFields = 2;
constexpr size_t kProbeReplyFields = 4;
constexpr size_t kUnlockRequestFields = 3;
constexpr size_t kUnlockReplyFields = 3;
constexpr size_t kEncryptRequestFields = 14;
constexpr size_t kEncryptReplyFields = 4;
// A writer's reason: short words of lower-case letters, digits, '-' and '+'.
constexpr size_t kMaxReason = 63;

// A day: longer than any file we would wait for, short enough to stay finite.
constexpr int64_t kMaxTimeLimitMs = 24LL * 3600 * 1000;
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

std::string Number(int64_t value) {
    return std::to_string(value);
}

std::string Flag(bool value) {
    return value ? "1" : "0";
}

bool Is(const Message& in, const char* name, size_t fields) {
    return in.size() == fields && in[0] == name;
}

bool Int32(const std::string& field, int64_t min, int64_t max, int32_t& out) {
    int64_t value = 0;
    if (!ParseNumber(field, min, max, value))
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool ParseFlag(const std::string& field, bool& out) {
    if (field != "0" && field != "1")
        return false;
    out = field == "1";
    return true;
}

} // namespace

bool ParseNumber(const std::string& field, int64_t min, int64_t max, int64_t& out) {
    if (field.empty() || field.size() > 20)
        return false;
    int64_t value = 0;
    const char* end = field.data() + field.size();
    auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (ec != std::errc() || ptr != end || value < min || value > max)
        return false;
    out = value;
    return true;
}

Kind KindOf(const Message& message) {
    if (message.empty())
        return Kind::Unknown;
    const std::string& name = message[0];
    if (name == kHelloName)
        return Kind::Hello;
    if (name == kProbeName)
        return Kind::Probe;
    if (name == kUnlockName)
        return Kind::Unlock;
    if (name == kEncryptName)
        return Kind::Encrypt;
    if (name == kProgressName)
        return Kind::Progress;
    if (name == kFatalName)
        return Kind::Fatal;
    return Kind::Unknown;
}

Message Encode(const Hello& m) {
    return {kHelloName, Number(m.version)};
}

Message Encode(const ProbeRequest& m) {
    return {kProbeName, Number(m.timeLimitMs)};
}

Message Encode(const ProbeReply& m) {
    return {kProbeName, Number(m.openState), Number(m.encrypted), Number(m.pageCount)};
}

Message Encode(const UnlockRequest& m) {
    return {kUnlockName, Number(m.timeLimitMs), m.password};
}

Message Encode(const UnlockReply& m) {
    return {kUnlockName, Number(m.code), Number(m.pageCount)};
}

Message Encode(const EncryptRequest& m) {
    return {kEncryptName,     Number(m.timeLimitMs), Number(m.level),       m.user,
            m.owner,          Number(m.printing),    Flag(m.copy),          Flag(m.modify),
            Flag(m.annotate), Flag(m.forms),         Flag(m.accessibility), Flag(m.assemble),
            m.sourcePassword, Flag(m.decrypt)};
}

Message Encode(const Progress& m) {
    return {kProgressName, Number(m.percent)};
}

Message Encode(const EncryptReply& m) {
    return {kEncryptName, Number(m.code), Number(static_cast<int32_t>(m.writer)), m.reason};
}

Message Encode(const Fatal& m) {
    return {kFatalName, m.reason};
}

std::vector<int> Descriptors(const ProbeRequest& m) {
    return {m.source};
}

std::vector<int> Descriptors(const UnlockRequest& m) {
    return {m.source};
}

std::vector<int> Descriptors(const EncryptRequest& m) {
    return {m.source, m.temp};
}

bool Decode(const Message& in, Hello& out) {
    Hello m;
    if (!Is(in, kHelloName, 2) || !Int32(in[1], 0, kInt32Max, m.version))
        return false;
    out = m;
    return true;
}

bool Decode(const Message& in, const std::vector<int>& descriptors, ProbeRequest& out) {
    ProbeRequest m;
    if (!Is(in, kProbeName, kProbeRequestFields) || descriptors.size() != 1 || descriptors[0] < 0 ||
        !ParseNumber(in[1], 1, kMaxTimeLimitMs, m.timeLimitMs))
        return false;
    m.source = descriptors[0];
    out = m;
    return true;
}

bool Decode(const Message& in, ProbeReply& out) {
    ProbeReply m;
    if (!Is(in, kProbeName, kProbeReplyFields) ||
        !Int32(in[1], PDFMS_OPEN_OK, PDFMS_OPEN_DAMAGED, m.openState) ||
        !Int32(in[2], 0, 1, m.encrypted) || !Int32(in[3], 0, kInt32Max, m.pageCount))
        return false;
    out = m;
    return true;
}

bool Decode(const Message& in, const std::vector<int>& descriptors, UnlockRequest& out) {
    UnlockRequest m;
    // The password travels as a C string on the other side.
    if (!Is(in, kUnlockName, kUnlockRequestFields) || descriptors.size() != 1 ||
        descriptors[0] < 0 || in[2].find('\0') != std::string::npos ||
        !ParseNumber(in[1], 1, kMaxTimeLimitMs, m.timeLimitMs))
        return false;
    m.source = descriptors[0];
    m.password = in[2];
    out = m;
    return true;
}

bool Decode(const Message& in, UnlockReply& out) {
    UnlockReply m;
    if (!Is(in, kUnlockName, kUnlockReplyFields) ||
        !Int32(in[1], PDFMS_OK, PDFMS_ERR_SOURCE_RESTRICTED, m.code) ||
        !Int32(in[2], 0, kInt32Max, m.pageCount))
        return false;
    // Opening a source says only these.
    if (m.code != PDFMS_OK && m.code != PDFMS_ERR_SOURCE && m.code != PDFMS_ERR_SOURCE_PASSWORD &&
        m.code != PDFMS_ERR_SOURCE_RESTRICTED)
        return false;
    out = m;
    return true;
}

bool Decode(const Message& in, const std::vector<int>& descriptors, EncryptRequest& out) {
    EncryptRequest m;
    if (!Is(in, kEncryptName, kEncryptRequestFields) || descriptors.size() != 2 ||
        descriptors[0] < 0 || descriptors[1] < 0 || descriptors[0] == descriptors[1])
        return false;
    for (size_t i : {size_t(3), size_t(4), size_t(12)}) {
        // Passwords travel as C strings on the other side.
        if (in[i].find('\0') != std::string::npos)
            return false;
    }
    if (!ParseNumber(in[1], 1, kMaxTimeLimitMs, m.timeLimitMs) ||
        !Int32(in[2], PDFMS_LEVEL_RC4_40, PDFMS_LEVEL_AES_256, m.level) ||
        !Int32(in[5], PDFMS_PRINT_NONE, PDFMS_PRINT_LOW, m.printing) || !ParseFlag(in[6], m.copy) ||
        !ParseFlag(in[7], m.modify) || !ParseFlag(in[8], m.annotate) ||
        !ParseFlag(in[9], m.forms) || !ParseFlag(in[10], m.accessibility) ||
        !ParseFlag(in[11], m.assemble) || !ParseFlag(in[13], m.decrypt))
        return false;
    m.source = descriptors[0];
    m.temp = descriptors[1];
    m.user = in[3];
    m.owner = in[4];
    m.sourcePassword = in[12];
    out = m;
    return true;
}

bool Decode(const Message& in, Progress& out) {
    Progress m;
    if (!Is(in, kProgressName, 2) || !Int32(in[1], 0, 100, m.percent))
        return false;
    out = m;
    return true;
}

bool Decode(const Message& in, EncryptReply& out) {
    EncryptReply m;
    int32_t writer = 0;
    if (!Is(in, kEncryptName, kEncryptReplyFields) ||
        !Int32(in[1], PDFMS_OK, PDFMS_ERR_SOURCE_RESTRICTED, m.code) ||
        !Int32(in[2], static_cast<int32_t>(Writer::None), static_cast<int32_t>(Writer::Qpdf),
               writer))
        return false;
    m.writer = static_cast<Writer>(writer);
    m.reason = in[3];
    if (m.reason.size() > kMaxReason ||
        m.reason.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-+") != std::string::npos)
        return false;
    // A success names the writer that made the file; a failure may name none.
    if (m.code == PDFMS_OK && m.writer == Writer::None)
        return false;
    out = m;
    return true;
}

bool Decode(const Message& in, Fatal& out) {
    if (!Is(in, kFatalName, 2))
        return false;
    out.reason = in[1];
    return true;
}

} // namespace HostProtocol
