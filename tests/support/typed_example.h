// A plane example file typed into the input dialog as the user types it.
#pragma once

#include <sstream>
#include <string>

#include "common/gbk_text.h"
#include "plane/plane_input_form.h"
#include "support/test_files.h"

namespace qp::testing {

// The example's sections typed into the boxes named like them (CRLF, GBK).
inline void TypeExample(PlaneInputForm& form, const std::string& example) {
  std::istringstream lines(ReadBytes(SourcePath("examples/plane/" + example)));
  std::string* box = nullptr;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("[")) {
      box = nullptr;
      for (int b = 0; b < kPlaneTextBoxCount; ++b) {
        if (line == "[" + std::string(PlaneBoxCaption(b)) + "]") box = &form.boxes[b];
      }
    } else if (box && !line.empty()) {
      *box += Utf8ToGbk(line) + "\r\n";
    }
  }
}

}  // namespace qp::testing
