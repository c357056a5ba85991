#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/host.hpp"

namespace testing_support {

// The plug-in file the build produced.
std::filesystem::path pluginPath();

// A fresh stand-in host with the built plug-in loaded (not yet started).
class PluginTest : public ::testing::Test {
  protected:
    void SetUp() override;
    // Startup, asserting it succeeded.
    void start();

    std::unique_ptr<simhost::Host> host;
};

}  // namespace testing_support
