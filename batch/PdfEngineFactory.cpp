#include "batch/PdfEngineFactory.h"

#include <mutex>

namespace {
std::mutex g_factoryMutex;
PdfEngineFactory g_factory;
} // namespace

void SetPdfEngineFactory(const PdfEngineFactory& factory) {
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    g_factory = factory;
}

PdfEngineFactory GetPdfEngineFactory() {
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    return g_factory;
}

PdfMSService* CreateEngineService() {
    const PdfEngineFactory factory = GetPdfEngineFactory();
    return factory.create ? factory.create() : nullptr;
}

void ReleaseEngineService(PdfMSService* service) {
    if (!service)
        return;
    const PdfEngineFactory factory = GetPdfEngineFactory();
    if (factory.release)
        factory.release(service);
}
