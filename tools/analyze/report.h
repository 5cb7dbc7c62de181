// What tessaran-analyze prints and writes about an edition: the readable summary, the single
// JSON object and the CSV table of residuals, all from one record of the results.
#pragma once

#include <string>

#include "analysis/fit.h"
#include "analysis/statistics.h"

struct AnalysisResults {
    std::string editionPath, referencePath;
    const AncientCatalog* edition = nullptr;
    int constellation = -1;  // the one looked at, -1 for the whole edition
    ResidualSet residuals;   // of the stars looked at
    EditionStatistics statistics;
    bool offsetsFitted = false;
    OffsetFit leastSquares, robust;
    bool epochFitted = false;  // asked for; epochFit.fitted says whether it worked
    EpochFit epochFit;
    double firstJd = 0, lastJd = 0;  // the range searched
};


std::string textSummary(const AnalysisResults& results);
std::string jsonSummary(const AnalysisResults& results);
// One row per ancient star looked at, in edition order, unresolved ones with empty residuals.
std::string residualCsv(const AnalysisResults& results);
