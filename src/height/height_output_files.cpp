#include "height/height_output_files.h"

#include "common/report_file.h"
#include "height/height_adjustment.h"
#include "height/height_input_form.h"
#include "statistics/statistics_report.h"

namespace qp {

std::vector<FileUse> HeightComputationOutputs(const std::string& dataPath) {
  return {{ReportPathFor(dataPath), "报告文件"},
          {StatisticsReportPathFor(dataPath), "统计检验报告"},
          {StatisticsFlagsPathFor(dataPath), kStatisticsFlagsRole},
          {HeightExportPathFor(dataPath), "高程数据文件"},
          {HeightSidePath(dataPath), "草稿文件"}};
}

}  // namespace qp
