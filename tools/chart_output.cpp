// kvn-rate --chart FILE: the psychrometric chart of the batch's first coil.
#include "tools/chart_output.h"

#include <cstdio>
#include <string>

#include "engine/rterror.h"
#include "tools/report_output.h"

#if KVN_WITH_REPORTS
// Last: Qt, whose "slots" keyword macro would rewrite the plain names of
// the headers above.
#include "reports/psychro_chart_paint.h"
#include "tools/sheet_texts.h"
#endif

namespace kvnrate {

#if KVN_WITH_REPORTS

// The chart of the batch's first coil; `count` coils were read, and `first`
// is null when the first was no coil.
int WriteChartFile(const std::string& path, const RatedCoil* first, std::size_t count,
                   const ChartChoices& choices) {
    const QString file = QString::fromStdString(path);
    if (!reports::chart::KnownFileType(file)) {
        std::fprintf(stderr, "kvn-rate: %s: the chart is written as .png, .svg or .pdf\n", path.c_str());
        return kExitReport;
    }
    if (!first || !first->ok()) {
        std::fprintf(stderr, "kvn-rate: the coil was not rated; no chart written to %s\n", path.c_str());
        return kExitReport;
    }
    if (count > 1)
        std::fprintf(stderr, "kvn-rate: the chart in %s shows the first of %zu coils\n", path.c_str(), count);
    GuiSession gui;
    QString error;
    try {
        reports::SheetTexts texts = SheetTextsOf((*first));
        texts.units = choices.units;
        auto options = reports::chart::OptionsOf(texts, (*first).coilSpec, (*first).rating);
        options.range = choices.whole ? reports::chart::Range::Whole : reports::chart::Range::Process;
        const auto model = reports::chart::BuildChart((*first).coilSpec, (*first).rating, options);
        reports::chart::FileOptions out;
        out.dpi = choices.dpi;
        out.paper = choices.a4 ? reports::chart::Paper::A4 : reports::chart::Paper::Letter;
        if (reports::chart::WriteFile(file, model, &error, out)) return kExitOk;
    } catch (const rt::RtError& e) {
        error = QString::fromStdString(e.description());
    }
    std::fprintf(stderr, "kvn-rate: %s: %s\n", path.c_str(), error.toStdString().c_str());
    return kExitReport;
}

#else

int WriteChartFile(const std::string&, const RatedCoil*, std::size_t, const ChartChoices&) {
    std::fprintf(stderr, "kvn-rate: built without reports; --chart is not available\n");
    return kExitReport;
}

#endif

}  // namespace kvnrate
