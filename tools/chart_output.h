// kvn-rate --chart FILE: the psychrometric chart of the batch's first coil,
// in the format of the file's extension (.png, .svg or .pdf).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/rate_json.h"
#include "tools/report_output.h"

#if KVN_WITH_REPORTS
#include "engine/rterror.h"
#include "reports/psychro_chart_paint.h"
#endif

namespace kvnrate {

#if KVN_WITH_REPORTS

inline int WriteChartFile(const std::string& path, const std::vector<RatedCoil>& coils) {
    const QString file = QString::fromStdString(path);
    if (!reports::chart::KnownFileType(file)) {
        std::fprintf(stderr, "kvn-rate: %s: the chart is written as .png, .svg or .pdf\n", path.c_str());
        return kExitReport;
    }
    if (coils.empty() || !coils[0].ok()) {
        std::fprintf(stderr, "kvn-rate: the coil was not rated; no chart written to %s\n", path.c_str());
        return kExitReport;
    }
    if (coils.size() > 1)
        std::fprintf(stderr, "kvn-rate: the chart in %s shows the first of %zu coils\n", path.c_str(),
                     coils.size());
    GuiSession gui;
    QString error;
    try {
        const auto model = reports::chart::BuildChart(coils[0].coilSpec, coils[0].rating);
        if (reports::chart::WriteFile(file, model, &error)) return kExitOk;
    } catch (const rt::RtError& e) {
        error = QString::fromStdString(e.description());
    }
    std::fprintf(stderr, "kvn-rate: %s: %s\n", path.c_str(), error.toStdString().c_str());
    return kExitReport;
}

#else

inline int WriteChartFile(const std::string&, const std::vector<RatedCoil>&) {
    std::fprintf(stderr, "kvn-rate: built without reports; --chart is not available\n");
    return kExitReport;
}

#endif

}  // namespace kvnrate
