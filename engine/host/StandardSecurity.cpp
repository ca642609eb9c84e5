#include "engine/host/StandardSecurity.h"

#include "engine/api/EngineService.h"
#include "engine/api/PasswordEncoding.h"

#include <qpdf/QPDF.hh>

int32_t StandardSecurity::Permissions(const EncryptRequest& r) {
    uint32_t p = 0xfffffffc; // bits 1 and 2 must be 0, the reserved high bits 1
    auto clear = [&p](int bit, bool allowed) {
        if (!allowed)
            p &= ~(uint32_t(1) << (bit - 1));
    };
    const bool print = r.printing != PDFMS_PRINT_NONE;
    if (r.level == PDFMS_LEVEL_RC4_40) {
        clear(3, print);
        clear(4, r.modify);
        clear(5, r.copy);
        clear(6, r.annotate);
    } else {
        const bool accessibility = r.accessibility || r.level >= PDFMS_LEVEL_AES_128;
        clear(3, print);
        clear(4, r.modify);
        clear(5, r.copy);
        clear(6, r.annotate);
        clear(9, r.forms);
        clear(10, accessibility);
        clear(11, r.assemble);
        clear(12, r.printing == PDFMS_PRINT_HIGH || r.printing == PDFMS_PRINT_ALLOWED);
    }
    return static_cast<int32_t>(p);
}

int32_t StandardSecurity::Setup(const EncryptRequest& r, const std::string& id0) {
    std::string user, owner;
    if (!PasswordEncoding::Prepare(r.level, r.user, user) ||
        !PasswordEncoding::Prepare(r.level, r.owner, owner))
        return PDFMS_ERR_ARGUMENT;
    m_P = Permissions(r);
    switch (r.level) {
    case PDFMS_LEVEL_RC4_40:
        m_V = 1, m_R = 2, m_keyBytes = 5, m_aes = false;
        break;
    case PDFMS_LEVEL_RC4_128:
        m_V = 2, m_R = 3, m_keyBytes = 16, m_aes = false;
        break;
    case PDFMS_LEVEL_AES_128:
        m_V = 4, m_R = 4, m_keyBytes = 16, m_aes = true;
        break;
    default:
        m_V = 5, m_R = 6, m_keyBytes = 32, m_aes = true;
        break;
    }
    if (m_R == 6) {
        QPDF::compute_encryption_parameters_V5(user.c_str(), owner.c_str(), m_V, m_R, m_keyBytes,
                                               m_P, true, id0, m_fileKey, m_O, m_U, m_OE, m_UE,
                                               m_Perms);
        return PDFMS_OK;
    }
    QPDF::compute_encryption_O_U(user.c_str(), owner.c_str(), m_V, m_R, m_keyBytes, m_P, true, id0,
                                 m_O, m_U);
    QPDF::EncryptionData data(m_V, m_R, m_keyBytes, m_P, m_O, m_U, "", "", "", id0, true);
    m_fileKey = QPDF::compute_encryption_key(user, data);
    return PDFMS_OK;
}

int StandardSecurity::minVersion() const {
    switch (m_R) {
    case 2:
        return 13;
    case 3:
        return 14;
    case 4:
        return 16;
    default:
        return 17; // with the Adobe extension level 8, or 2.0
    }
}

std::string StandardSecurity::Dictionary() const {
    std::string d = "<< /Filter /Standard /V " + std::to_string(m_V) + " /R " +
                    std::to_string(m_R) + " /Length " + std::to_string(m_keyBytes * 8);
    if (m_aes) {
        d += std::string(" /CF << /StdCF << /AuthEvent /DocOpen /CFM ") +
             (m_R == 6 ? "/AESV3" : "/AESV2") + " /Length " + std::to_string(m_keyBytes) +
             " >> >> /StmF /StdCF /StrF /StdCF";
    }
    d += " /O " + Hex(m_O) + " /U " + Hex(m_U);
    if (m_R == 6)
        d += " /OE " + Hex(m_OE) + " /UE " + Hex(m_UE) + " /Perms " + Hex(m_Perms);
    d += " /P " + std::to_string(m_P) + " >>";
    return d;
}

std::string StandardSecurity::Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string s = "<";
    for (unsigned char c : bytes) {
        s += digits[c >> 4];
        s += digits[c & 15];
    }
    return s + ">";
}
