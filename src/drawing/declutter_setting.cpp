#include "drawing/declutter_setting.h"

#include "drawing/label_marks.h"

namespace qp {

bool DeclutterFor(const std::string& dataPath) { return ReadLabelMarks(dataPath).declutter; }

bool StoreDeclutter(const std::string& dataPath, bool declutter) {
  LabelMarks marks = ReadLabelMarks(dataPath);
  if (marks.declutter == declutter) return true;
  marks.declutter = declutter;
  return WriteLabelMarks(dataPath, marks);
}

}  // namespace qp
