// Old/new system transformation ("坐标系统转换对话框"): plane coordinates of an
// old system are carried into a new one through common points, known in both.
// The transformation is conformal, a complex polynomial of degree 1 to 3 in the
// old coordinates reduced to their centroid, estimated by least squares.
//
// The form holds the dialog's controls (GBK texts) and does what its buttons
// do; its whole state is the record below, the byte image of the .TRS file.
// Point arrays are indexed from 1; slot 0 is not used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/platform_services.h"
#include "common/rejected_entry.h"
#include "tools/tool_file.h"

namespace qp {

inline constexpr int kSystemListCapacity = 1019;  // points in each list, slots 1..1019
inline constexpr size_t kSystemFileSize = 71864;

struct SystemTransformFile {
  int32_t oldCount;
  int32_t newCount;
  int32_t commonCount;            // m, common points found
  char oldNames[1024][11];
  uint8_t unused11276[4];
  double oldX[1024];
  double oldY[1024];
  double transformedX[1024];      // old points carried into the new system
  double transformedY[1024];
  char newNames[1024][11];
  double newX[1024];
  double newY[1024];
  double sigma;                   // mm, written when there are redundant common points
  int32_t parameterCount;         // f = 4, 6 or 8
  uint8_t unused71708[4];
  double parameters[10];          // entries 1..f
  char title[72];                 // at most 32 bytes and a zero
};

static_assert(sizeof(SystemTransformFile) == kSystemFileSize);
static_assert(offsetof(SystemTransformFile, oldCount) == 0);
static_assert(offsetof(SystemTransformFile, newCount) == 4);
static_assert(offsetof(SystemTransformFile, commonCount) == 8);
static_assert(offsetof(SystemTransformFile, oldNames) == 12);
static_assert(offsetof(SystemTransformFile, unused11276) == 11276);
static_assert(offsetof(SystemTransformFile, oldX) == 11280);
static_assert(offsetof(SystemTransformFile, oldY) == 19472);
static_assert(offsetof(SystemTransformFile, transformedX) == 27664);
static_assert(offsetof(SystemTransformFile, transformedY) == 35856);
static_assert(offsetof(SystemTransformFile, newNames) == 44048);
static_assert(offsetof(SystemTransformFile, newX) == 55312);
static_assert(offsetof(SystemTransformFile, newY) == 63504);
static_assert(offsetof(SystemTransformFile, sigma) == 71696);
static_assert(offsetof(SystemTransformFile, parameterCount) == 71704);
static_assert(offsetof(SystemTransformFile, unused71708) == 71708);
static_assert(offsetof(SystemTransformFile, parameters) == 71712);
static_assert(offsetof(SystemTransformFile, title) == 71792);

// The estimated transformation: parameters 1..f of the model
//   (X' - xn) + i(Y' - yn) = (p1 + i p2) + (p3 + i p4) z + (p5 + i p6) z^2 + (p7 + i p8) z^3,
// z = (X - xo) + i(Y - yo), truncated to degree f/2 - 1.
struct ConformalTransform {
  int parameterCount = 0;
  double p[9] = {};  // p[1..f]
  double oldCentroidX = 0.0;
  double oldCentroidY = 0.0;
  double newCentroidX = 0.0;
  double newCentroidY = 0.0;

  void Apply(double x, double y, double& newX, double& newY) const;
};

// Estimates the transformation from the common points in slots 1..m of both
// lists. False when the normal equations are singular (common points that
// coincide leave too few distinct positions for the parameters).
bool EstimateConformalTransform(const SystemTransformFile& image, int m, ConformalTransform& transform);

class SystemTransformForm : public ToolForm<SystemTransformFile> {
 public:
  // The controls (GBK).
  std::string title;       // 输出标识
  std::string oldText;     // 旧坐标
  std::string newText;     // 新坐标

  // "文件选择" after the file dialog returned `path`.
  void ChooseFile(const std::string& path, PlatformServices& platform);
  bool LoadFile(const std::string& path);
  bool CreateFile(const std::string& path);

  // A point edit was typed into. Without a chosen file both point edits are
  // cleared with a message; returns false then.
  bool PointTextEdited(PlatformServices& platform);

  // "转换": reads both lists, matches the common points, estimates and applies
  // the transformation, writes the report and the file and offers to show the
  // report. Does nothing (refused) while no file is chosen. Accepted when
  // everything it did succeeded; a refused line is named.
  InputCheck Execute(PlatformServices& platform);

  // The old points carried into the new system, one "%-10s,%11.3f,%11.3f"
  // line each (common points first), after a successful "转换".
  std::string ResultText() const;

 private:
  InputCheck ReadControls(SystemTransformFile& image, PlatformServices& platform) const;
  bool MatchCommonPoints(SystemTransformFile& image, PlatformServices& platform) const;
  bool Estimate(SystemTransformFile& image, PlatformServices& platform) const;
  void FillControls();
  bool WriteReport(PlatformServices& platform) const;

  bool computed_ = false;
};

}  // namespace qp
