// The whole height network cycle behind "H数据编辑" (and the end of
// "H数据文件"): back up the record, run the input dialog, store the confirmed
// network, compute it into the report, lay out what the diagram needs, store
// the results.
#pragma once

#include "height/height_input_form.h"
#include "height/height_network.h"
#include "workflow/network_workspace.h"

namespace qp {

using HeightWorkspace = NetworkWorkspace<HeightNetwork>;

// The height input dialog's "确定" runs ConfirmHeightDialog (or
// RunHeightConfirmation) with the target; its "取消" runs CancelHeightForm
// with target.sidePath.
using HeightDialogRunner = NetworkDialogRunner<HeightNetwork, HeightReportTarget>;

NetworkEditResult EditHeightNetwork(HeightWorkspace& ws, PlatformServices& platform,
                                    const HeightDialogRunner& runDialog);

}  // namespace qp
