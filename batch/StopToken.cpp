#include "batch/StopToken.h"

void StopToken::Request(Kind kind) {
    int current = m_kind.load();
    while (current < kind && !m_kind.compare_exchange_weak(current, kind)) {
    }
}

StopToken::Kind StopToken::Get() const {
    return static_cast<Kind>(m_kind.load());
}
