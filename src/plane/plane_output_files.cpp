#include "plane/plane_output_files.h"

#include "common/report_file.h"
#include "plane/derived_height_network.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_input_form.h"
#include "statistics/statistics_report.h"

namespace qp {

std::vector<FileUse> PlaneComputationOutputs(const std::string& dataPath) {
  const std::string report = ReportPathFor(dataPath);
  return {{report, "报告文件"},
          {StatisticsReportPathFor(dataPath), "统计检验报告"},
          {StatisticsFlagsPathFor(dataPath), kStatisticsFlagsRole},
          {CoordinateExportPathFor(dataPath), "坐标数据文件"},
          {PlaneDraftPath(report), "草稿文件"},
          {DerivedHeightPathFor(dataPath), "三角高程网数据文件"}};
}

}  // namespace qp
