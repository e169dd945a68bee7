// The declutter option ("注记避让") of a network's drawing, kept in the label
// marks beside its data file: read wherever a drawing of the document is
// made (view, printing, export, pictures) so they all get the same sheet,
// and written when a display settings dialog is confirmed.
#pragma once

#include <string>

namespace qp {

// Whether the drawing of the data file at `dataPath` declutters its value
// texts; off when the marks are missing or damaged.
bool DeclutterFor(const std::string& dataPath);

// Stores the option beside the data file, keeping the hand-placement marks.
// Nothing is written when the marks already say so. False when the marks
// cannot be written.
bool StoreDeclutter(const std::string& dataPath, bool declutter);

}  // namespace qp
