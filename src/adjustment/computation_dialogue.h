// What a computation may need from the person running it, without reaching
// the platform itself: the answer to a plausibility question (a constant
// term beyond belief: go on?) and the one message that ends a failed
// computation. The workflow that runs the computation answers the questions
// and shows the message when the computation has returned.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace qp {

class ComputationDialogue {
 public:
  // Gets a GBK question, gives true to go on.
  using Answerer = std::function<bool(const std::string& question)>;

  // Without an answerer every question is answered No: the computation stops.
  explicit ComputationDialogue(Answerer answer = {}) : answer_(std::move(answer)) {}

  bool GoOn(const std::string& question) const { return answer_ && answer_(question); }

  // The first failure is the one the user sees; later ones follow from it.
  void Fail(std::string message) {
    if (failure_.empty()) failure_ = std::move(message);
  }
  const std::string& Failure() const { return failure_; }

 private:
  Answerer answer_;
  std::string failure_;
};

}  // namespace qp
