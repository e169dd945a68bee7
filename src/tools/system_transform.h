// The form of the old/new system transformation ("坐标系统转换对话框"): the
// dialog's controls (GBK texts) and what its buttons do to its .TRS record.
#pragma once

#include <string>

#include "common/platform_services.h"
#include "tools/system_computation.h"
#include "tools/tool_file.h"

namespace qp {

class SystemTransformForm : public ToolForm<SystemTransformFile> {
 public:
  // The controls (GBK).
  std::string title;       // 输出标识
  std::string oldText;     // 旧坐标
  std::string newText;     // 新坐标

  // "文件选择" after the file dialog returned `path`.
  void ChooseFile(const std::string& path, PlatformServices& platform);
  bool LoadFile(const std::string& path);
  bool CreateFile(const std::string& path);

  // A point edit was typed into. Without a chosen file both point edits are
  // cleared with a message; returns false then.
  bool PointTextEdited(PlatformServices& platform);

  // "转换": reads both lists, matches the common points, estimates and applies
  // the transformation, writes the report and the file and offers to show the
  // report. Does nothing (refused) while no file is chosen. Accepted when
  // everything it did succeeded; a refused line is named.
  InputCheck Execute(PlatformServices& platform);

  // The old points carried into the new system, one "%-10s,%11.3f,%11.3f"
  // line each (common points first), after a successful "转换".
  std::string ResultText() const;

 private:
  InputCheck ReadControls(SystemTransformFile& image, PlatformServices& platform) const;
  void FillControls();
  bool WriteReport(PlatformServices& platform) const;

  bool computed_ = false;
};

}  // namespace qp
