#include "EngineTestSupport.h"

#include "engine/PdfEngine.h"

#include <cstring>

void EngineTest::SetUp() {
    PdfEngine::SetHostProgram(PZ_ENGINE_HOST);
    PdfEngine::SetHostLimits(HostLimits());
    PdfEngine::Reset();
}

void EngineTest::TearDown() {
    PdfEngine::SetHostLimits(HostLimits());
    PdfEngine::Reset();
}

PdfMSEncryptParams MakeParams(int level, const char* user, const char* owner) {
    PdfMSEncryptParams p;
    std::memset(&p, 0, sizeof p);
    p.level = level;
    p.userPassword = user;
    p.ownerPassword = owner;
    return p;
}
