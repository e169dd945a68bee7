#include "adjustment/numeric_threads.h"

#include <cstdlib>

extern "C" {
void openblas_set_num_threads(int threads);
int openblas_get_num_threads(void);
}

namespace qp {
namespace {

bool SetInEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

int ChooseThreads() {
  if (!SetInEnvironment("OPENBLAS_NUM_THREADS") && !SetInEnvironment("OMP_NUM_THREADS")) {
    openblas_set_num_threads(1);
  }
  return openblas_get_num_threads();
}

}  // namespace

int ApplyNumericThreadPolicy() {
  static const int threads = ChooseThreads();
  return threads;
}

}  // namespace qp
