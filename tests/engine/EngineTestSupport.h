#pragma once
// Shared pieces of the engine tests: the host program of this build and the
// parameters for one run.

#include "PopplerCheck.h"

#include "engine/PdfEngineService.h"

#include <gtest/gtest.h>

#include <memory>

// Points the engine at the host program of this build and clears its state.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

PdfMSEncryptParams MakeParams(int level, const char* user, const char* owner);
