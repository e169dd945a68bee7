// The item lists of the dialogs' combo boxes and the index a stored setting
// may select from one.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/gbk_text.h"

namespace qp {

// The UTF-8 items in GBK, in order.
inline std::vector<std::string> GbkItems(std::initializer_list<const char*> utf8Items) {
  std::vector<std::string> items;
  for (const char* item : utf8Items) items.push_back(Gbk(item));
  return items;
}

// A stored index outside a combo of `itemCount` items selects the first item.
inline int ComboIndex(int index, size_t itemCount) {
  return index >= 0 && static_cast<size_t>(index) < itemCount ? index : 0;
}

}  // namespace qp
