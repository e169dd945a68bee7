#include "common/rejected_entry.h"

namespace qp {
namespace {

thread_local RejectedEntryRecorder* activeRecorder = nullptr;

}  // namespace

RejectedEntryRecorder::RejectedEntryRecorder() : previous_(activeRecorder) { activeRecorder = this; }

RejectedEntryRecorder::~RejectedEntryRecorder() { activeRecorder = previous_; }

std::optional<RejectedEntry> RejectedEntryRecorder::Rejected() const {
  return placed_ ? rejected_ : std::nullopt;
}

InputConfirmation RejectedEntryRecorder::Result(bool accepted) const {
  return {accepted, accepted ? std::nullopt : Rejected()};
}

void RejectedEntryRecorder::Note(int box, int line, const std::string& message) {
  if (!activeRecorder) return;
  activeRecorder->rejected_ = RejectedEntry{box, line, message};
  activeRecorder->placed_ = true;
}

void RejectedEntryRecorder::NoteUnplaced(const std::string& message) {
  if (!activeRecorder) return;
  activeRecorder->rejected_ = RejectedEntry{0, 0, message};
  activeRecorder->placed_ = false;
}

void RejectedEntryRecorder::PlaceLast(int box, int line) {
  if (!activeRecorder || !activeRecorder->rejected_ || activeRecorder->placed_) return;
  activeRecorder->rejected_->box = box;
  activeRecorder->rejected_->line = line;
  activeRecorder->placed_ = true;
}

void RejectedEntryRecorder::MessageShown() {
  if (!activeRecorder) return;
  activeRecorder->rejected_.reset();
  activeRecorder->placed_ = false;
}

bool RejectEntry(PlatformServices& platform, int box, int line, const std::string& message) {
  platform.ShowMessage(message);
  RejectedEntryRecorder::Note(box, line, message);
  return false;
}

}  // namespace qp
