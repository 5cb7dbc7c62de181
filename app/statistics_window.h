// The Statistics window, the shell's side: the residual figures of the current edition at the
// current epoch and offsets (the current constellation's row, the whole edition's and the
// constellation's outliers), the residual scatter and, on request, the epoch fitted together with
// the offsets and the scatter curve over the epochs searched. Its buttons apply the fitted
// offsets, or the fitted epoch with its offsets, through the same path as the epoch dialog.
// Called by the commands (t, the menu item, the window's buttons) and after every paint, which
// follows every change of constellation, edition, epoch or offsets.
#pragma once

#include <vector>

#include "analysis/fit.h"
#include "app/platform_services.h"
#include "catalog/catalog.h"

constexpr char kStatisticsTitle[] = "Statistics";
// The scatter curve is sampled every ten years over the default range of the epoch fit.
constexpr int kScatterCurveSamples = 201;

// The epoch fit with its curve, kept for the edition it was made from.
struct StatisticsFit {
    const AncientCatalog* edition = nullptr;  // none yet
    EpochFit fit;
    std::vector<EpochScatter> curve;
    double firstJd = 0, lastJd = 0;  // the range searched
};

struct StatisticsState {
    StatisticsFit epochFit;
    StatisticsContent shown;  // what the open window shows
};

// t and the menu item: opens the window (or brings the open one up to date).
void showStatisticsWindow();
// After a paint: an open window gets the figures again when they changed.
void refreshStatisticsWindow();
// The buttons: fit the epoch and offsets of the current edition; put the robust offsets at the
// current epoch, or the fitted epoch and offsets, into the epoch setting.
void fitStatisticsEpoch();
void applyStatisticsOffsets();
void applyStatisticsEpochFit();
// The edition the fit was made from has been replaced or changed: the fit no longer holds.
void forgetStatisticsFit();

// What the window shows for an edition at an epoch setting, the given constellation highlighted,
// with the fit when it was made from this edition.
StatisticsContent statisticsContent(const AncientCatalog& edition,
                                    const ReferenceCatalog& reference,
                                    const EpochSetting& epoch, int constellation,
                                    const StatisticsFit& fit);
