#include "app/settings.h"

#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/startup.h"
#include "catalog/locator.h"
#include "catalog/text_format.h"
#include "geometry/vectors.h"

namespace {

// The key lines, numbered as the reader tells them apart.
enum SettingsKey {
    KeyNone = 0,
    KeyWindowRect = 1,
    KeyGridColor = 2,
    KeyLabelColor = 3,
    KeyEqGridColor = 4,
    KeyConViewArray = 5,
    KeyEpoch = 6,
    KeyPOffsets = 7,
};

struct KeyName {
    const char* name;
    SettingsKey key;
};

constexpr KeyName kKeyNames[] = {
    {"WindowRect", KeyWindowRect}, {"GridColor", KeyGridColor},
    {"LabelColor", KeyLabelColor}, {"EqGridColor", KeyEqGridColor},
    {"ConViewArray", KeyConViewArray}, {"Epoch", KeyEpoch},
    {"POffsets", KeyPOffsets},
};

// A line is read in pieces of at most this many bytes, its end included.
constexpr int kLineBufferSize = 128;
constexpr int kMaxTokens = 8;  // no key line uses more than seven
constexpr int kConViewValues = 6;

const char* keyName(SettingsKey key) {
    for (const KeyName& entry : kKeyNames)
        if (entry.key == key) return entry.name;
    return "";
}

SettingsKey keyOf(const char* token) {
    for (const KeyName& entry : kKeyNames)
        if (std::strcmp(entry.name, token) == 0) return entry.key;
    return KeyNone;
}

// The tokens of one line, split at blanks only (a tab belongs to its token).
struct Tokens {
    const char* token[kMaxTokens];
    int count = 0;
};

Tokens splitAtBlanks(char* line) {
    Tokens tokens;
    char* p = line;
    while (*p && tokens.count < kMaxTokens) {
        while (*p == ' ') ++p;
        if (!*p) break;
        tokens.token[tokens.count++] = p;
        while (*p && *p != ' ') ++p;
        if (*p) *p++ = '\0';
    }
    return tokens;
}

// Reads the next piece of a line and cuts it at its first carriage return and first line feed.
bool readLine(std::FILE* file, char (&line)[kLineBufferSize]) {
    if (!std::fgets(line, kLineBufferSize, file)) return false;
    line[std::strcspn(line, "\r\n")] = '\0';
    return true;
}

// Like the standard text-to-integer conversion, with values beyond an int held at its limits.
int integerValue(const char* token) {
    long long value = std::strtoll(token, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

// Like the standard text-to-double conversion. A value that is not finite ("nan", "inf", or
// beyond the range of a double) is refused: it would leave a view or an epoch that no key can
// bring back.
bool numberValue(const char* token, double& value) {
    double read = std::strtod(token, nullptr);
    if (!std::isfinite(read)) return false;
    value = read;
    return true;
}

bool angleValue(const char* token, float& radians) {
    double degrees;
    if (!numberValue(token, degrees)) return false;
    radians = float(degrees * kDegToRad);
    return true;
}

// Values missing from a short line keep what they held.
void readWindowRect(const Tokens& tokens, ScreenRect& rect) {
    int* fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    for (int i = 0; i < 4 && i + 1 < tokens.count; ++i) *fields[i] = integerValue(tokens.token[i + 1]);
}

void readColor(const Tokens& tokens, ColorTable& colors, int entry) {
    Color old = getColor(colors, entry);
    int channel[3] = {colorRed(old), colorGreen(old), colorBlue(old)};
    for (int i = 0; i < 3 && i + 1 < tokens.count; ++i) channel[i] = integerValue(tokens.token[i + 1]);
    setColor(colors, entry, makeColor(channel[0], channel[1], channel[2]));
}

// A focal scale that is no number above 0 would leave a view that shows nothing and that no
// zoom key brings back: such a row keeps the view it would replace, and only its shift is read.
void readConViewRow(const Tokens& tokens, ConView& view) {
    // File order: view longitude, latitude, roll, focal scale, shift longitude, latitude.
    ConView read = view;
    const int count = tokens.count < kConViewValues ? tokens.count : kConViewValues;
    for (int i = 0; i < count; ++i) {
        const char* token = tokens.token[i];
        switch (i) {
            case 0: angleValue(token, read.viewLon); break;
            case 1: angleValue(token, read.viewLat); break;
            case 2: angleValue(token, read.roll); break;
            case 3: {
                double scale;
                read.focalScale = numberValue(token, scale) ? float(scale) : 0.0f;
                break;
            }
            case 4: angleValue(token, read.shiftLon); break;
            case 5: angleValue(token, read.shiftLat); break;
        }
    }
    if (!(std::isfinite(read.focalScale) && read.focalScale > 0)) {
        read.viewLon = view.viewLon, read.viewLat = view.viewLat, read.roll = view.roll;
        read.focalScale = view.focalScale;
    }
    view = read;
}

// Everything after the key token of the key line in `line`; the key line of a ConViewArray
// block goes on to read the rows below it. A row that is itself a key line ends a short block
// and is handed back in `line` to be read as a key line.
bool readKeyLine(std::FILE* file, char (&line)[kLineBufferSize], SettingsValues& values,
                 ColorTable& colors) {
    Tokens tokens = splitAtBlanks(line);
    if (tokens.count == 0) return false;
    switch (keyOf(tokens.token[0])) {
        case KeyWindowRect: readWindowRect(tokens, values.windowRect); break;
        case KeyGridColor: readColor(tokens, colors, ColorEclipticGrid); break;
        case KeyLabelColor: readColor(tokens, colors, ColorNumbers); break;
        case KeyEqGridColor: readColor(tokens, colors, ColorEquatorialGrid); break;
        case KeyEpoch: {
            double epoch;
            if (tokens.count > 1 && numberValue(tokens.token[1], epoch)) values.epoch.epoch = epoch;
            break;
        }
        case KeyPOffsets:
            if (tokens.count > 1) angleValue(tokens.token[1], values.epoch.offsetLon);
            if (tokens.count > 2) angleValue(tokens.token[2], values.epoch.offsetLat);
            break;
        case KeyConViewArray:
            for (ConView& view : values.views) {
                if (!readLine(file, line)) return false;
                char row[kLineBufferSize];
                std::memcpy(row, line, sizeof row);
                Tokens rowTokens = splitAtBlanks(row);
                if (rowTokens.count > 0 && keyOf(rowTokens.token[0]) != KeyNone) return true;
                readConViewRow(rowTokens, view);
            }
            break;
        case KeyNone: break;
    }
    return false;
}

// The executable's folder ends at its last backslash or, failing that, its last slash.
bool rectHasArea(const ScreenRect& rect) {
    long long width = (long long)rect.right - rect.left;
    long long height = (long long)rect.bottom - rect.top;
    return width > 0 && height > 0 && width <= INT_MAX && height <= INT_MAX;
}

double degrees(float radians) { return radians * kRadToDeg; }

// Beyond this magnitude, which only endless zooming or a hand-made file reaches, a value is
// written in exponent form with every digit of its type: fixed notation would make a view row
// longer than the piece the reader takes as one line, and the rest would be read as the next
// constellation's view.
constexpr double kFixedNotationLimit = 1e9;
constexpr int kFloatDigits = 9;
constexpr int kDoubleDigits = 17;

std::string settingsNumber(double value, int width, int decimals, int digits) {
    if (std::fabs(value) < kFixedNotationLimit) return formatText("%*.*f", width, decimals, value);
    return formatText("%*.*g", width, digits, value);
}

bool printSettings(std::FILE* file, const SettingsValues& values, const ColorTable& colors) {
    const ScreenRect& rect = values.windowRect;
    bool ok = std::fprintf(file, "%s %d %d %d %d\n", keyName(KeyWindowRect), rect.left, rect.top,
                           rect.right, rect.bottom) > 0;
    const struct {
        SettingsKey key;
        int entry;
    } colorLines[] = {{KeyGridColor, ColorEclipticGrid},
                      {KeyLabelColor, ColorNumbers},
                      {KeyEqGridColor, ColorEquatorialGrid}};
    for (const auto& line : colorLines) {
        Color c = getColor(colors, line.entry);
        ok = ok && std::fprintf(file, "%s %d %d %d\n", keyName(line.key), colorRed(c),
                                colorGreen(c), colorBlue(c)) > 0;
    }
    const EpochSetting& epoch = values.epoch;
    std::string text = std::string(keyName(KeyEpoch)) + " " +
                       settingsNumber(epoch.epoch, 0, 6, kDoubleDigits) + "\n" +
                       keyName(KeyPOffsets) + " " +
                       settingsNumber(degrees(epoch.offsetLon), 0, 6, kFloatDigits) + " " +
                       settingsNumber(degrees(epoch.offsetLat), 0, 6, kFloatDigits) + "\n" +
                       keyName(KeyConViewArray) + "\n";
    for (const ConView& view : values.views) {
        text += "  ";
        for (double value : {degrees(view.viewLon), degrees(view.viewLat), degrees(view.roll),
                             double(view.focalScale), degrees(view.shiftLon),
                             degrees(view.shiftLat)})
            text += " " + settingsNumber(value, 5, 1, kFloatDigits);
        text += "\n";
    }
    return ok && std::fputs(text.c_str(), file) >= 0;
}

}  // namespace

void setDefaultSettings(const ScreenRect& defaultRect, SettingsValues& values, ColorTable& colors) {
    setDefaultColors(colors);
    setDefaultConViews(values.views);
    values.windowRect = defaultRect;
    values.epoch = EpochSetting();
}

bool locateSettingsFile(const std::string& exePath, std::string& path) {
    // An installed program cannot write beside itself, so it keeps the file in the user's folder.
    const std::string userFolder =
        runsFromInstallPrefix(exePath, kReferenceFileName)
            ? userConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"))
            : std::string();
    WritableFile file = locateWritableFile(kSettingsFileName, exePath, userFolder);
    path = std::move(file.path);
    return file.exists;
}

bool readSettingsFile(const char* path, SettingsValues& values, ColorTable& colors) {
    std::FILE* file = std::fopen(path, "r");
    if (!file) return false;
    char line[kLineBufferSize];
    bool pending = false;  // a key line that ended a ConViewArray block waits in `line`
    while (pending || readLine(file, line)) pending = readKeyLine(file, line, values, colors);
    std::fclose(file);
    return true;
}

bool readSettings(const std::string& exePath, const ScreenRect& defaultRect, std::string& path,
                  SettingsValues& values, ColorTable& colors) {
    setDefaultSettings(defaultRect, values, colors);
    if (!locateSettingsFile(exePath, path)) return false;
    bool read = readSettingsFile(path.c_str(), values, colors);
    if (!rectHasArea(values.windowRect)) values.windowRect = defaultRect;
    return read;
}

bool writeSettings(const char* path, const SettingsValues& values, const ColorTable& colors) {
    std::string temporary = std::string(path) + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (!file) return false;
    bool ok = printSettings(file, values, colors);
    ok = std::fflush(file) == 0 && ok;
    ok = ok && fsync(fileno(file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}
