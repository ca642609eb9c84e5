#include "batch/PdfEngineFactory.h"

#include <mutex>

namespace {
std::mutex g_factoryMutex;
PdfEngineFactory g_factory;
} // namespace

void SetPdfEngineFactory(PdfEngineFactory factory) {
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    g_factory = std::move(factory);
}

std::unique_ptr<EngineService> CreateEngineService() {
    PdfEngineFactory factory;
    {
        std::lock_guard<std::mutex> lock(g_factoryMutex);
        factory = g_factory;
    }
    return factory ? factory() : nullptr;
}
