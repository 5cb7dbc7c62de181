// tessaran-snapshot: draws one constellation of an edition over the reference stars into a PNG
// through the viewer's own picture of a view (the one Save Picture writes), star numbers in the
// label font included. For tests, the README's pictures and figures for papers. Needs no display:
// Qt runs on its offscreen platform.
#include <QtCore/QByteArray>
#include <QtCore/QtMessageHandler>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/default_views.h"
#include "catalog/calendar.h"
#include "catalog/edition_file.h"
#include "catalog/locator.h"
#include "catalog/precession.h"
#include "catalog/reference_file.h"
#include "common/command_line.h"
#include "platform/sky_picture.h"
#include "render/sky_layers.h"

namespace {

constexpr char kTool[] = "tessaran-snapshot";
constexpr int kLargestSide = 16384;

// Device pixel ratios of the screens a picture can stand for.
constexpr double kSmallestScale = 0.5;
constexpr double kLargestScale = 8.0;

const char kHelp[] =
    "Usage: tessaran-snapshot [options] OUTPUT.png\n"
    "\n"
    "Renders one constellation of an ancient catalogue edition over the reference stars,\n"
    "carried to an epoch, into a PNG picture, exactly as the viewer draws it.\n"
    "\n"
    "Options (angles in degrees):\n"
    "  --edition PATH         edition file to draw (default: cat1.dat, looked for in the\n"
    "                         working directory, then beside this program)\n"
    "  --reference PATH       reference catalogue (default: catb.bin, looked for the same way)\n"
    "  --constellation WHICH  constellation index 0..47 or name, e.g. \"Ursa Major\";\n"
    "                         letter case does not matter (default: 0)\n"
    "  --size WxH             window size in pixels, each 1..16384 (default: 1024x768)\n"
    "  --scale R              device pixel ratio of the screen, 0.5..8 (default: 1): the\n"
    "                         picture is the window size times R, rounded, drawn as sharp\n"
    "                         and with the same layout as the viewer draws on such a screen\n"
    "  --flags N              display flags 0..63, decimal or 0x hex (default: 0x1F):\n"
    "                         1 reference stars, 2 circles round the ancient stars,\n"
    "                         4 star numbers, 8 identification lines, 16 ecliptic grid,\n"
    "                         32 equatorial grid\n"
    "  --epoch JD             epoch as a Julian Date (default: 1771298.0)\n"
    "  --year Y               epoch as a decimal year, historical (no year 0: -1 is 1 BC,\n"
    "                         so the value lies outside -1..1);\n"
    "                         the last of --epoch and --year given wins\n"
    "  --offsets LON,LAT      offsets added to every ancient position (default: 0,0)\n"
    "  --shift LON,LAT        the constellation's own shift, added as well\n"
    "                         (default: the shift of its default view)\n"
    "  --view LON,LAT,ROLL,SCALE\n"
    "                         view centre, roll and focal scale (greater than 0; larger is\n"
    "                         closer) (default: the constellation's default view)\n"
    "  --help                 show this text and exit\n"
    "\n"
    "Exit status: 0 on success, 1 when a file cannot be read or written, 2 for bad options.\n";

struct Options {
    std::string edition, reference, output;
    std::string constellation = "0";
    int width = 1024, height = 768;
    double scale = 1;
    int flags = kDefaultDisplayFlags;
    double epoch = EpochSetting().epoch;
    double offsetLon = 0, offsetLat = 0;
    bool haveShift = false;
    double shiftLon = 0, shiftLat = 0;
    bool haveView = false;
    double view[4] = {};
};


bool parseInt(const char* text, long low, long high, int& value) {
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text, &end, 0);
    if (end == text || *end != '\0' || errno != 0 || v < low || v > high) return false;
    value = int(v);
    return true;
}

bool parseSize(const char* text, int& width, int& height) {
    const char* x = std::strchr(text, 'x');
    if (!x) return false;
    std::string w(text, x);
    return parseInt(w.c_str(), 1, kLargestSide, width) && parseInt(x + 1, 1, kLargestSide, height);
}

// Returns -1 when the options are good, otherwise the exit status to end with.
int parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (arg.rfind("--", 0) != 0) {
            if (!o.output.empty()) {
                complain("more than one output file given: " + o.output + " and " + arg);
                return kExitUsage;
            }
            o.output = arg;
            continue;
        }
        if (i + 1 >= argc) {
            complain("option " + arg + " needs a value (see --help)");
            return kExitUsage;
        }
        const char* value = argv[++i];
        bool good = true;
        if (arg == "--edition") {
            o.edition = value;
        } else if (arg == "--reference") {
            o.reference = value;
        } else if (arg == "--constellation") {
            o.constellation = value;
            good = constellationIndex(o.constellation) >= 0;
        } else if (arg == "--size") {
            good = parseSize(value, o.width, o.height);
        } else if (arg == "--scale") {
            good = parseDouble(value, o.scale) && o.scale >= kSmallestScale &&
                   o.scale <= kLargestScale;
        } else if (arg == "--flags") {
            good = parseInt(value, 0, 0x3F, o.flags);
        } else if (arg == "--epoch") {
            good = parseDouble(value, o.epoch);
        } else if (arg == "--year") {
            double year;
            good = parseDouble(value, year) && std::fabs(year) >= 1 && std::fabs(year) < 1e6;
            if (good) o.epoch = jdFromDecimalYear(year);
        } else if (arg == "--offsets") {
            double v[2];
            good = parseNumberList(value, v, 2);
            o.offsetLon = v[0];
            o.offsetLat = v[1];
        } else if (arg == "--shift") {
            double v[2];
            good = parseNumberList(value, v, 2);
            o.haveShift = true;
            o.shiftLon = v[0];
            o.shiftLat = v[1];
        } else if (arg == "--view") {
            good = parseNumberList(value, o.view, 4) && o.view[3] > 0;
            o.haveView = true;
        } else {
            complain("unknown option " + arg + " (see --help)");
            return kExitUsage;
        }
        if (!good) {
            complain("bad value \"" + std::string(value) + "\" for " + arg + " (see --help)");
            return kExitUsage;
        }
    }
    if (o.output.empty()) {
        complain("no output file given (see --help)");
        return kExitUsage;
    }
    return -1;
}


int run(const Options& o) {
    std::string referencePath, editionPath;
    if (!resolveDataFile(o.reference, "catb.bin", referencePath) ||
        !resolveDataFile(o.edition, "cat1.dat", editionPath))
        return kExitFailure;

    auto refs = std::make_unique<ReferenceCatalog>();
    if (!readReferenceCatalog(referencePath.c_str(), *refs)) {
        complain("cannot read the reference catalogue " + referencePath);
        return kExitFailure;
    }
    applyEpoch(*refs, o.epoch);
    EditionPtr edition = readEdition(editionPath.c_str());
    if (!edition) {
        complain("cannot read the edition " + editionPath);
        return kExitFailure;
    }

    const int index = constellationIndex(o.constellation);
    ConView saved = defaultConView(index);
    if (o.haveView) {
        saved.viewLon = float(o.view[0] * kDegToRad);
        saved.viewLat = float(o.view[1] * kDegToRad);
        saved.roll = float(o.view[2] * kDegToRad);
        saved.focalScale = float(o.view[3]);
    }
    if (o.haveShift) {
        saved.shiftLon = float(o.shiftLon * kDegToRad);
        saved.shiftLat = float(o.shiftLat * kDegToRad);
    }
    // The window's size in device pixels, rounded as the viewer rounds it.
    SkyView view;
    applyConView(saved, view);
    view.width = deviceLengthAt(o.width, o.scale);
    view.height = deviceLengthAt(o.height, o.scale);
    viewUpdate(view);

    ColorTable colors;
    setDefaultColors(colors);
    StarColors starColors;
    buildStarColors(starColors);

    RenderRequest request;
    request.refStars = refs.get();
    request.constellation = &edition->constellations[index];
    request.lonOffset = float(o.offsetLon * kDegToRad) + saved.shiftLon;
    request.latOffset = float(o.offsetLat * kDegToRad) + saved.shiftLat;
    request.view = &view;
    request.displayFlags = o.flags;
    request.epoch = o.epoch;
    request.editionCaption = edition->name.c_str();
    request.devicePixelRatio = o.scale;

    const QImage picture = drawSkyPicture(request, colors, starColors);
    if (picture.isNull()) {
        complain("not enough memory for a picture of this size");
        return kExitFailure;
    }
    if (!writePictureFile(picture, QString::fromLocal8Bit(o.output.c_str()))) {
        complain("cannot write " + o.output);
        return kExitFailure;
    }
    return 0;
}

}  // namespace

// Qt's own chatter (such as a missing runtime folder on a machine without a desktop) is no
// concern of a command-line tool; only its serious errors are passed on.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s: %s\n", kTool, message.toLocal8Bit().constData());
}

int main(int argc, char** argv) {
    setToolName(kTool);
    Options options;
    int status = parseOptions(argc, argv, options);
    if (status >= 0) return status;

    // No window is ever shown; Qt is only asked for fonts and painting into an image. Qt sees
    // none of the tool's own options.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The picture's ratio is --scale alone, whatever scaling the environment asks of Qt.
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qInstallMessageHandler(quietQtMessages);
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QGuiApplication application(qtArgc, qtArgv);
    std::setlocale(LC_NUMERIC, "C");  // the drawing writes its numbers as the viewer does
    return run(options);
}
