// Where an input table refused an entry: the readers and checks of the input
// forms return which box and line they refused together with the message they
// showed, and a confirmation hands that on in its result, so a dialog can put
// the cursor on the line without looking at the message.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qp {

struct RejectedEntry {
  int box = 0;          // the table's box, numbered as its dialog numbers them
  int line = 0;         // zero-based line of the box
  std::string message;  // GBK, as shown
};

// The answer of a reader, a check or a confirmation of the input forms:
// accepted, or refused after its message was shown, with the entry refused
// when the refusal is about one. `notes` are the messages still to be shown,
// in order (a refusal's own message last), by whoever runs the check.
struct InputCheck {
  bool accepted = true;
  std::optional<RejectedEntry> rejected;
  std::vector<std::string> notes;
  explicit operator bool() const { return accepted; }
};

inline InputCheck Accepted() { return {}; }
inline InputCheck Refused(std::optional<RejectedEntry> entry = std::nullopt) { return {false, std::move(entry), {}}; }
// Refused with `message` to be shown after the `notes` gathered before it.
inline InputCheck RefusedWith(std::string message, std::vector<std::string> notes = {}) {
  notes.push_back(std::move(message));
  return {false, std::nullopt, std::move(notes)};
}
// Refuses line `line` of box `box` with `message`, still to be shown.
inline InputCheck RefusedAt(int box, int line, std::string message) {
  return {false, RejectedEntry{box, line, message}, {message}};
}

// Keeps the answer of the last check run through it, so that a chain of
// checks joined by && hands on the refusal that stopped it:
//   CheckChain chain;
//   chain(ReadA(...)) && chain(CheckB(...));
//   return chain.Result();
// A check answering yes or no refuses without naming an entry.
class CheckChain {
 public:
  bool operator()(InputCheck check) {
    last_ = std::move(check);
    return last_.accepted;
  }
  bool operator()(bool accepted) { return (*this)(InputCheck{accepted, std::nullopt, {}}); }
  const InputCheck& Result() const { return last_; }

 private:
  InputCheck last_;
};

}  // namespace qp
