// tessaran-analyze: compares an ancient edition with the modern sky carried to an epoch. Prints
// the residuals' statistics per constellation and for the whole edition, fits the offsets and
// the epoch, writes a CSV table of every star's residual, and turns editions into CSV and back.
// The viewer's own epoch code and the analysis module do the work; no display is needed.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analysis/fit.h"
#include "analysis/statistics.h"
#include "catalog/edition_csv.h"
#include "catalog/edition_file.h"
#include "catalog/epoch_text.h"
#include "catalog/locator.h"
#include "catalog/reference_file.h"
#include "catalog/safe_write.h"
#include "common/command_line.h"
#include "report.h"

namespace {

constexpr char kTool[] = "tessaran-analyze";
constexpr double kQuietSeconds = 1.0;  // a fit that ends sooner shows no progress

const char kHelp[] =
    "Usage: tessaran-analyze [options]\n"
    "\n"
    "Compares an ancient catalogue edition with the reference stars carried to an epoch:\n"
    "residuals per constellation and for the whole edition, outliers, the offsets and the\n"
    "epoch that line the edition up, and a CSV table of every star. Also turns an edition\n"
    "into CSV and a CSV back into an edition file.\n"
    "\n"
    "Options (angles in degrees, years historical: no year 0, -130 is 130 BC):\n"
    "  --edition PATH         edition to analyse, an edition file or a CSV of one (default:\n"
    "                         cat1.dat, looked for in the working directory, then beside this\n"
    "                         program)\n"
    "  --reference PATH       reference catalogue (default: catb.bin, looked for the same way)\n"
    "  --epoch JD             epoch as a Julian Date (default: 1771298.0, 20 Jul 137 AD)\n"
    "  --year Y               epoch as a year or date as the epoch dialog takes it: -130,\n"
    "                         -130.5 (the middle of 130 BC), \"130 BC\", \"20 Jul 137 AD\";\n"
    "                         the last of --epoch and --year given wins\n"
    "  --offsets LON,LAT      offsets added to every ancient position (default: 0,0)\n"
    "  --constellation WHICH  only this constellation, by index 0..47 or name, e.g. \"Ursa\n"
    "                         Major\"; letter case does not matter (default: all)\n"
    "  --fit-offsets          fit the two offsets at the epoch, by least squares and robustly\n"
    "  --fit-epoch [FROM,TO]  fit the epoch together with the offsets, searching the years\n"
    "                         FROM to TO (default: -1000,1000)\n"
    "  --csv PATH             write every star's residual to a CSV file\n"
    "  --json                 print one JSON object instead of the readable summary\n"
    "  --export-edition PATH  write the edition as CSV and do nothing else\n"
    "  --import-edition PATH  read an edition from CSV and write it as an edition file to\n"
    "  --output PATH          the path given here, and do nothing else\n"
    "  --identify N=R[,N=R...]  set the identification of ancient star N (running number\n"
    "                         1..1028) to reference star R (0 for none) and write the edition\n"
    "                         to --output, every other field as read; nothing else is done\n"
    "  --help                 show this text and exit\n"
    "\n"
    "Exit status: 0 on success, 1 when a file cannot be read or written (nothing is written\n"
    "then), 2 for bad options.\n";

struct Options {
    std::string edition, reference;
    double epochJd = EpochSetting().epoch;
    double offsetLonDeg = 0, offsetLatDeg = 0;
    int constellation = -1;
    bool fitOffsets = false;
    bool fitEpoch = false;
    double firstJd = EpochFitOptions().firstJd, lastJd = EpochFitOptions().lastJd;
    std::string csv;
    bool json = false;
    std::string exportEdition, importEdition, output;
    std::vector<std::pair<int, int>> identifications;  // ancient running number, reference number
    std::string analysisOption;  // the first option that only an analysis takes
};

// Two values separated by the one comma.
bool splitPair(const std::string& text, std::string& first, std::string& second) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos) return false;
    first = text.substr(0, comma);
    second = text.substr(comma + 1);
    return true;
}


// "N=R[,N=R...]": whole numbers, N a running number of an ancient star, R a reference star's.
bool parseIdentifications(const std::string& text, std::vector<std::pair<int, int>>& pairs) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(start, end - start);
        const size_t equals = item.find('=');
        double star, reference;
        if (equals == std::string::npos || !parseDouble(item.substr(0, equals), star) ||
            !parseDouble(item.substr(equals + 1), reference) || star != std::floor(star) ||
            reference != std::floor(reference) || std::fabs(star) > 1e6 || std::fabs(reference) > 1e6)
            return false;
        pairs.push_back({int(star), int(reference)});
        start = end + 1;
    }
    return true;
}

bool endsWithCsv(const std::string& path) {
    const std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : "";
    return ending == ".csv" || ending == ".CSV";
}

bool takesValue(const std::string& option) {
    for (const char* name : {"--edition", "--reference", "--epoch", "--year", "--offsets",
                             "--constellation", "--csv", "--export-edition", "--import-edition",
                             "--output", "--identify"})
        if (option == name) return true;
    return false;
}

// Returns -1 when the options are good, otherwise the exit status to end with.
int parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        const bool analysisOnly = arg != "--edition" && arg != "--export-edition" &&
                                  arg != "--import-edition" && arg != "--output" &&
                                  arg != "--identify" && arg != "--reference";
        if (analysisOnly && o.analysisOption.empty()) o.analysisOption = arg;
        if (arg == "--fit-offsets" || arg == "--json") {
            (arg == "--json" ? o.json : o.fitOffsets) = true;
            continue;
        }
        if (arg == "--fit-epoch") {
            o.fitEpoch = true;
            // The range is optional: it is the next argument unless that is an option.
            if (i + 1 >= argc || std::strncmp(argv[i + 1], "--", 2) == 0) continue;
        } else if (arg.rfind("--", 0) != 0) {
            complain("unexpected argument " + arg + " (see --help)");
            return kExitUsage;
        } else if (!takesValue(arg)) {
            complain("unknown option " + arg + " (see --help)");
            return kExitUsage;
        } else if (i + 1 >= argc) {
            complain("option " + arg + " needs a value (see --help)");
            return kExitUsage;
        }
        const std::string value = argv[++i];
        bool good = true;
        if (arg == "--edition") {
            o.edition = value;
        } else if (arg == "--reference") {
            o.reference = value;
        } else if (arg == "--epoch") {
            good = parseDouble(value, o.epochJd);
        } else if (arg == "--year") {
            good = parseEpoch(value.c_str(), o.epochJd);
        } else if (arg == "--offsets") {
            std::string lon, lat;
            good = splitPair(value, lon, lat) && parseDouble(lon, o.offsetLonDeg) &&
                   parseDouble(lat, o.offsetLatDeg);
        } else if (arg == "--constellation") {
            o.constellation = constellationIndex(value);
            good = o.constellation >= 0;
        } else if (arg == "--fit-epoch") {
            std::string from, to;
            good = splitPair(value, from, to) && parseEpoch(from.c_str(), o.firstJd) &&
                   parseEpoch(to.c_str(), o.lastJd) && o.firstJd < o.lastJd;
        } else if (arg == "--csv") {
            o.csv = value;
        } else if (arg == "--export-edition") {
            o.exportEdition = value;
        } else if (arg == "--import-edition") {
            o.importEdition = value;
        } else if (arg == "--output") {
            o.output = value;
        } else if (arg == "--identify") {
            good = parseIdentifications(value, o.identifications);
        }
        if (!good) {
            complain("bad value \"" + value + "\" for " + arg + " (see --help)");
            return kExitUsage;
        }
    }
    const bool identifying = !o.identifications.empty();
    const bool converting = !o.exportEdition.empty() || !o.importEdition.empty() || identifying;
    if (int(!o.exportEdition.empty()) + int(!o.importEdition.empty()) + int(identifying) > 1) {
        complain("--export-edition, --import-edition and --identify go one at a time");
        return kExitUsage;
    }
    if ((o.importEdition.empty() && !identifying) != o.output.empty()) {
        complain("--output goes with --import-edition or --identify, and they with it");
        return kExitUsage;
    }
    if (!o.reference.empty() && converting && !identifying) {
        complain("--reference does not go with converting an edition");
        return kExitUsage;
    }
    if (converting && !o.analysisOption.empty()) {
        complain(o.analysisOption + " does not go with converting an edition");
        return kExitUsage;
    }
    if (!o.importEdition.empty() && !o.edition.empty()) {
        complain("--import-edition reads its edition from the CSV; --edition does not go with it");
        return kExitUsage;
    }
    return -1;
}


bool readWholeFile(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    text.clear();
    char block[8192];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
    const bool good = !std::ferror(file);
    std::fclose(file);
    return good;
}

// A CSV of an edition; null after a message naming the line and column at fault.
EditionPtr loadCsvEdition(const std::string& path) {
    std::string text;
    if (!readWholeFile(path, text)) {
        complain("cannot read " + path + ": " + std::strerror(errno));
        return nullptr;
    }
    EditionFromCsv read = editionFromCsv(text);
    if (!read.edition) {
        complain(path + ": " + read.problem);
        return nullptr;
    }
    read.edition->path = path;
    return std::move(read.edition);
}

// An edition file, or a CSV of one when the name ends in .csv; null after a message.
EditionPtr loadEdition(const std::string& path) {
    if (endsWithCsv(path)) return loadCsvEdition(path);
    EditionPtr edition = readEdition(path.c_str());
    if (!edition)
        complain("cannot read the edition " + path +
                 " (missing, or not an edition: a \"Tessaran Catalog:\" line and 1028 star lines)");
    return edition;
}

bool writeText(const char* path, const std::string& text) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

bool replaceWithText(const std::string& target, const std::string& text) {
    if (replaceFileWith(target, [&text](const char* path) { return writeText(path, text); }))
        return true;
    complain("cannot write " + target);
    return false;
}

int exportEdition(const Options& o) {
    std::string path;
    if (!resolveDataFile(o.edition, "cat1.dat", path)) return kExitFailure;
    EditionPtr edition = loadEdition(path);
    if (!edition) return kExitFailure;
    return replaceWithText(o.exportEdition, editionToCsv(*edition)) ? 0 : kExitFailure;
}

int importEdition(const Options& o) {
    EditionPtr edition = loadCsvEdition(o.importEdition);  // CSV whatever its name
    if (!edition) return kExitFailure;
    if (saveEdition(o.output, *edition)) return 0;
    complain("cannot write the edition " + o.output);
    return kExitFailure;
}

// Sets the identifications asked for and writes the edition; refuses, writing nothing, an
// ancient number no star has and a reference number the catalogue lacks.
int identifyStars(const Options& o) {
    std::string editionPath, referencePath;
    if (!resolveDataFile(o.edition, "cat1.dat", editionPath) ||
        !resolveDataFile(o.reference, "catb.bin", referencePath))
        return kExitFailure;
    EditionPtr edition = loadEdition(editionPath);
    if (!edition) return kExitFailure;
    auto reference = std::make_unique<ReferenceCatalog>();
    if (!readReferenceCatalog(referencePath.c_str(), *reference)) {
        complain("cannot read the reference catalogue " + referencePath);
        return kExitFailure;
    }
    for (const auto& [number, identification] : o.identifications) {
        StarPlace place;
        if (!starPlaceOf(*edition, number, place)) {
            complain("there is no ancient star " + std::to_string(number) + " (1 to 1028)");
            return kExitFailure;
        }
        if (identification != 0 && lookUpReferenceStar(reference->index, identification) < 0) {
            complain("reference star " + std::to_string(identification) + " is not in " +
                     referencePath);
            return kExitFailure;
        }
        edition->constellations[place.constellation].stars[size_t(place.index)].identification =
            identification;
    }
    if (saveEdition(o.output, *edition)) return 0;
    complain("cannot write the edition " + o.output);
    return kExitFailure;
}

// Progress of a long fit on standard error, once it has taken more than a second.
struct ProgressLine {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    bool toTerminal = isatty(STDERR_FILENO);
    bool shown = false;
    int lastStage = -1, lastStep = -1;

    static void report(void* self, FitStage stage, double fraction) {
        ProgressLine& p = *static_cast<ProgressLine*>(self);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - p.start;
        if (elapsed.count() < kQuietSeconds) return;
        static const char* const kStageNames[] = {"scanning the range", "refining",
                                                  "bootstrap resampling"};
        // Every per cent on a terminal, a line per quarter in a log.
        const int step = int(fraction * (p.toTerminal ? 100 : 4));
        if (int(stage) == p.lastStage && step == p.lastStep) return;
        p.lastStage = int(stage);
        p.lastStep = step;
        p.shown = true;
        std::fprintf(stderr,
                     p.toTerminal ? "\r%s: fitting the epoch: %-20s %3d%%"
                                  : "%s: fitting the epoch: %s %d%%\n",
                     kTool, kStageNames[int(stage)], int(fraction * 100));
        std::fflush(stderr);
    }
    void finish() const {
        if (shown && toTerminal) std::fputc('\n', stderr);
    }
};

// Keeps the stars of one constellation.
void keepConstellation(ResidualSet& set, int constellation) {
    auto elsewhere = [constellation](const auto& s) {
        return s.star.constellation != constellation;
    };
    set.stars.erase(std::remove_if(set.stars.begin(), set.stars.end(), elsewhere), set.stars.end());
    set.unresolved.erase(std::remove_if(set.unresolved.begin(), set.unresolved.end(), elsewhere),
                         set.unresolved.end());
    set.unidentifiedCount = set.notInReferenceCount = 0;
    for (const UnresolvedStar& s : set.unresolved)
        ++(s.reason == UnresolvedReason::NoIdentification ? set.unidentifiedCount
                                                          : set.notInReferenceCount);
}

MatchedStars keepConstellation(const MatchedStars& all, int constellation) {
    MatchedStars kept;
    for (int i = 0; i < all.size(); ++i) {
        if (all.labels[size_t(i)].constellation != constellation) continue;
        kept.labels.push_back(all.labels[size_t(i)]);
        kept.recordedLonRad.push_back(all.recordedLonRad[size_t(i)]);
        kept.recordedLatRad.push_back(all.recordedLatRad[size_t(i)]);
        kept.modern.push_back(all.modern[size_t(i)]);
    }
    return kept;
}

int analyze(const Options& o) {
    AnalysisResults r;
    if (!resolveDataFile(o.reference, "catb.bin", r.referencePath) ||
        !resolveDataFile(o.edition, "cat1.dat", r.editionPath))
        return kExitFailure;
    auto reference = std::make_unique<ReferenceCatalog>();
    if (!readReferenceCatalog(r.referencePath.c_str(), *reference)) {
        complain("cannot read the reference catalogue " + r.referencePath);
        return kExitFailure;
    }
    EditionPtr edition = loadEdition(r.editionPath);
    if (!edition) return kExitFailure;
    r.edition = edition.get();
    r.constellation = o.constellation;

    const Alignment alignment = {o.epochJd, o.offsetLonDeg * kDegToRad, o.offsetLatDeg * kDegToRad};
    r.residuals = computeResiduals(*edition, *reference, alignment);
    if (r.constellation >= 0) keepConstellation(r.residuals, r.constellation);
    r.statistics = summarizeEdition(r.residuals);
    if (o.fitOffsets) {
        r.offsetsFitted = true;
        r.leastSquares = fitOffsets(r.residuals, OffsetMethod::LeastSquares);
        r.robust = fitOffsets(r.residuals, OffsetMethod::Robust);
    }
    if (o.fitEpoch) {
        r.epochFitted = true;
        r.firstJd = o.firstJd;
        r.lastJd = o.lastJd;
        EpochFitOptions options;
        options.firstJd = o.firstJd;
        options.lastJd = o.lastJd;
        ProgressLine progress;
        options.progress = {&ProgressLine::report, &progress};
        MatchedStars stars = matchStars(*edition, *reference);
        r.epochFit = fitEpoch(
            r.constellation < 0 ? stars : keepConstellation(stars, r.constellation), options);
        progress.finish();
    }
    if (!o.csv.empty() && !replaceWithText(o.csv, residualCsv(r))) return kExitFailure;
    const std::string summary = o.json ? jsonSummary(r) : textSummary(r);
    std::fwrite(summary.data(), 1, summary.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    setToolName(kTool);
    Options options;
    const int status = parseOptions(argc, argv, options);
    if (status >= 0) return status;
    if (!options.exportEdition.empty()) return exportEdition(options);
    if (!options.importEdition.empty()) return importEdition(options);
    if (!options.identifications.empty()) return identifyStars(options);
    return analyze(options);
}
