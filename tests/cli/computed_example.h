// The bundled triangulation example computed by the plane command, for tests
// that start from a computed network.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "cli/plane_command.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp::testing {

// Computes examples/plane/triangulation.txt into `dataPath`, its reports beside it.
inline void ComputeTriangulation(const std::string& dataPath) {
  ScriptedPlatform platform;
  CommandOptions plane;
  plane.dataPath = dataPath;
  plane.inputPath = SourcePath("examples/plane/triangulation.txt");
  ASSERT_EQ(RunPlaneCommand(plane, platform), 0) << platform.LastMessageUtf8();
}

}  // namespace qp::testing
