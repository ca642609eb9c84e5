#pragma once
// Where the probe and the batch loop get engine services from. Replaceable, so
// tests run them against a scripted engine.

#include "engine/api/EngineService.h"

#include <functional>
#include <memory>

using PdfEngineFactory = std::function<std::unique_ptr<EngineService>()>;

// Set once at start, before any probe or run (the programs' main does it); an
// empty factory makes no services.
void SetPdfEngineFactory(PdfEngineFactory factory);

// A service from the factory, or null when there is none.
std::unique_ptr<EngineService> CreateEngineService();
