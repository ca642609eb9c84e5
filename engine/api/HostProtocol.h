#pragma once
// The messages between the engine library and pdfzerovovor-engine, and the one
// codec both sides use for them. A message is a HostChannel::Message: a name and
// its fields, every number in decimal. The files travel as open descriptors
// beside the request ([...]); the host never opens a path, and a request with
// more or fewer descriptors than its kind carries does not decode.
//
//   (host starts)              -> hello    version
//   probe timeLimitMs [source] -> probe    openState encrypted pageCount
//   unlock timeLimitMs password [source]
//                              -> unlock   code pageCount (PDFMS_OK when the password
//                                          lets a run write the source anew)
//   encrypt timeLimitMs level user owner printing copy modify annotate forms
//           accessibility assemble sourcePassword decrypt [source temp]
//                              -> progress percent           (any number of times)
//                              -> encrypt  code writer reason (a PDFMS_* result; the
//                                          writer's reason in words, maybe "")
//   any request                -> fatal    reason            (the host exits)
//
// The host parses hostile files, so the library reads its replies as strictly as
// a hostile file: a field count, a number that is not wholly a number or is out
// of range, an unknown name or a reply to another request is a broken host.
// The library renames the temporary file only after a well-formed "encrypt 0";
// the host never touches the output name itself.

#include "engine/api/EngineService.h"
#include "engine/api/HostChannel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace HostProtocol {

// Raised whenever a message changes shape; a host of another version is refused.
constexpr int32_t kVersion = 5;
// The host's own guard: it ends itself this long after a request's time limit,
// in case the library that should have killed it is gone.
constexpr int kHostGraceSeconds = 5;

using Message = HostChannel::Message;

enum class Kind { Hello, Probe, Unlock, Encrypt, Progress, Fatal, Unknown };

// Which writer produced an output.
enum class Writer : int32_t { None = 0, OnePass = 1, Qpdf = 2 };

struct Hello {
    int32_t version = kVersion;
};

// A descriptor in a request is the sender's: encoding leaves it open, and a
// decoded one belongs to whoever received it.
struct ProbeRequest {
    int source = -1; // read-only, a regular file
    int64_t timeLimitMs = 0;
};

struct ProbeReply {
    int32_t openState = 5;
    int32_t encrypted = 0;
    int32_t pageCount = 0;
};

// Opens an encrypted source with a password, as an encryption of it would.
struct UnlockRequest {
    int source = -1; // read-only, the caller's
    int64_t timeLimitMs = 0;
    std::string password; // UTF-8
};

struct UnlockReply {
    // PDFMS_OK, PDFMS_ERR_SOURCE_PASSWORD (wrong), PDFMS_ERR_SOURCE_RESTRICTED (the
    // user password of a file that restricts something) or PDFMS_ERR_SOURCE.
    int32_t code = PDFMS_ERR_SOURCE;
    int32_t pageCount = 0;
};

struct EncryptRequest {
    int source = -1;
    int temp = -1; // new and empty, made by the library, which renames or removes it
    int64_t timeLimitMs = 0;
    int32_t level = 2;
    std::string user; // UTF-8
    std::string owner;
    int32_t printing = 0;
    bool copy = false, modify = false, annotate = false, forms = false;
    bool accessibility = false, assemble = false;
    std::string sourcePassword; // "" for an unencrypted source
    bool decrypt = false;       // write without encryption
};

struct Progress {
    int32_t percent = 0; // 0 to 100
};

struct EncryptReply {
    int32_t code = 0; // PDFMS_OK or a PDFMS_ERR_* code
    Writer writer = Writer::None;
    std::string reason; // why that writer: a short word or words joined by '+'
};

struct Fatal {
    std::string reason;
};

// The kind named by the first field; Unknown for an empty message or a foreign name.
Kind KindOf(const Message& message);

Message Encode(const Hello& m);
Message Encode(const ProbeRequest& m);
Message Encode(const ProbeReply& m);
Message Encode(const UnlockRequest& m);
Message Encode(const UnlockReply& m);
Message Encode(const EncryptRequest& m);
Message Encode(const Progress& m);
Message Encode(const EncryptReply& m);
Message Encode(const Fatal& m);
// The descriptors that travel beside a request, in order.
std::vector<int> Descriptors(const ProbeRequest& m);
std::vector<int> Descriptors(const UnlockRequest& m);
std::vector<int> Descriptors(const EncryptRequest& m);

// Each is true only for a message of that kind with exactly its fields, every
// number whole and in range; `out` is untouched otherwise.
bool Decode(const Message& in, Hello& out);
// Requests also need exactly their descriptors.
bool Decode(const Message& in, const std::vector<int>& descriptors, ProbeRequest& out);
bool Decode(const Message& in, ProbeReply& out);
bool Decode(const Message& in, const std::vector<int>& descriptors, UnlockRequest& out);
bool Decode(const Message& in, UnlockReply& out);
bool Decode(const Message& in, const std::vector<int>& descriptors, EncryptRequest& out);
bool Decode(const Message& in, Progress& out);
bool Decode(const Message& in, EncryptReply& out);
bool Decode(const Message& in, Fatal& out);

// A decimal integer that fills the whole field ("-" allowed, no blanks, no "+"),
// within [min, max].
bool ParseNumber(const std::string& field, int64_t min, int64_t max, int64_t& out);

} // namespace HostProtocol
