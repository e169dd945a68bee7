// Where an input table refused an entry: the readers and checks of the input
// forms say which box and line they refused together with the message they
// showed, and a confirmation hands that on in its result, so a dialog can put
// the cursor on the line without looking at the message.
#pragma once

#include <optional>
#include <string>

#include "common/platform_services.h"

namespace qp {

struct RejectedEntry {
  int box = 0;          // the table's box, numbered as its dialog numbers them
  int line = 0;         // zero-based line of the box
  std::string message;  // GBK, as shown
};

// The answer of a confirmation: accepted, or not, with the entry a table
// refused when that was the reason.
struct InputConfirmation {
  bool accepted = false;
  std::optional<RejectedEntry> rejected;
  operator bool() const { return accepted; }  // NOLINT(google-explicit-constructor): it answers yes or no
};

// While one of these is alive on a thread, the last entry refused there is
// kept in it (the innermost one when they nest), until a platform that shows
// the messages to the user tells it a later message followed (MessageShown):
// the refusal is then no longer what the user is looking at.
class RejectedEntryRecorder {
 public:
  RejectedEntryRecorder();
  ~RejectedEntryRecorder();
  RejectedEntryRecorder(const RejectedEntryRecorder&) = delete;
  RejectedEntryRecorder& operator=(const RejectedEntryRecorder&) = delete;

  // The entry refused, once its box and line are known.
  std::optional<RejectedEntry> Rejected() const;
  // A confirmation's result: when not accepted, with the entry refused.
  InputConfirmation Result(bool accepted) const;

  // Notes the refusal of line `line` of box `box` with `message`.
  static void Note(int box, int line, const std::string& message);
  // Notes a refusal whose line the table reader places (PlaceLast) once the
  // line's check has returned.
  static void NoteUnplaced(const std::string& message);
  static void PlaceLast(int box, int line);
  static void MessageShown();

 private:
  RejectedEntryRecorder* previous_;
  std::optional<RejectedEntry> rejected_;
  bool placed_ = false;
};

// Shows `message` (GBK), notes it as the refusal of line `line` of box `box`
// and returns false.
bool RejectEntry(PlatformServices& platform, int box, int line, const std::string& message);

}  // namespace qp
