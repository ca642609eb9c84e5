#pragma once
// Where the probe and the job get engine services from. Replaceable, so tests run
// them against a scripted engine.

#include "engine/api/EngineService.h"

struct PdfEngineFactory {
    PdfMSService* (*create)() = nullptr;
    void (*release)(PdfMSService* service) = nullptr;
};

// Set once at start, before any probe or run (the programs' main does it).
void SetPdfEngineFactory(const PdfEngineFactory& factory);
PdfEngineFactory GetPdfEngineFactory();

// A service from the factory, or null when there is none.
PdfMSService* CreateEngineService();
void ReleaseEngineService(PdfMSService* service);
