// The engine's entry points, served by the scripted engine while the real engine is
// not part of the build.

#include "FakeEngine.h"
#include "batch/PdfMSService.h"

extern "C" PdfMSService* CreatePdfMSService() {
    FakeEngine::Install();
    return GetPdfEngineFactory().create();
}

extern "C" void FreePdfMSService(PdfMSService* service) {
    GetPdfEngineFactory().release(service);
}
