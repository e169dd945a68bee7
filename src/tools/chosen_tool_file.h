// The data file a coordinate tool's form works on: its path, the report
// beside it and the name the file-name edit shows.
#pragma once

#include <string>

#include "common/report_file.h"
#include "tools/point_list.h"

namespace qp {

// Nothing is chosen until Use; a default-constructed one gives a file up.
struct ChosenToolFile {
  std::string dataPath;
  std::string reportPath;
  std::string nameText;  // GBK
  bool chosen = false;

  void Use(const std::string& path) {
    dataPath = path;
    reportPath = ReportPathFor(path);
    chosen = true;
    nameText = PathForDisplay(path);
  }
};

}  // namespace qp
