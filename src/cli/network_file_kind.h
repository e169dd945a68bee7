// Which network a data file holds, by its extension: .NAP plane, .NAH height,
// letter case ignored. The drawing commands take either.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace qp {

enum class NetworkFileKind { Plane, Height, Unknown };

inline NetworkFileKind NetworkFileKindOf(const std::string& path) {
  if (path.size() < 4) return NetworkFileKind::Unknown;
  std::string ext = path.substr(path.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
  if (ext == ".NAP") return NetworkFileKind::Plane;
  if (ext == ".NAH") return NetworkFileKind::Height;
  return NetworkFileKind::Unknown;
}

}  // namespace qp
