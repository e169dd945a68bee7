// The "注记整理" command on an open drawing, shared by the desktop and the
// command line: the movable texts are arranged (label_arrangement.h), the
// drawing is shown again, and the user decides whether to keep the result.
// Kept, the data file is written as "保存数据" writes it, with the label
// marks beside it; not kept, the record is put back as it was, so nothing
// reaches the file.
#pragma once

#include <functional>
#include <string>

#include "common/platform_services.h"
#include "common/settings_block.h"
#include "drawing/draw_context.h"
#include "drawing/label_marks.h"
#include "drawing/network_drawing.h"
#include "height/height_network.h"
#include "plane/plane_network.h"

namespace qp {

enum class ArrangeResult {
  NotDrawn,  // the sheet cannot be drawn: nothing changed
  Kept,      // arranged and written
  Restored,  // arranged, then declined: the record as it was
  Failed,    // arranged and kept, but the data file could not be written (said so)
};

struct ArrangeOutcome {
  ArrangeResult result = ArrangeResult::NotDrawn;
  int moved = 0;
};

// Arranges the texts of the open network (the plane one when `plane` is
// given; `shown` is its model as drawn, on the sheet with the title it
// holds), calls `redraw`, then asks "注记整理完成, 移动了 %d 个注记。\r\n请确认保存..."
// (default Yes). Yes: the data file and the marks file are written,
// `drawingModified` is cleared and the path shown; a failed write shows
// "平面网数据文件写入错误 !" / "高程网数据文件写入错误 !" with the path and sets
// `drawingModified`. No: record and settings are restored and `redraw` is
// called again.
ArrangeOutcome ArrangeDrawing(const std::string& dataPath, SettingsBlock& settings, DrawnNetwork shown,
                              PlaneNetwork* plane, HeightNetwork* height, const LabelMarks& marks,
                              const DrawContext& context, bool& drawingModified, PlatformServices& platform,
                              const std::function<void()>& redraw);

}  // namespace qp
