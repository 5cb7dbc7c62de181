// The nearest-stars window, the shell's side: the query behind a left click and its refreshes
// (after an edition switch and the q toggle), handing the epoch, offsets and coordinate mode to
// the query, the window's texts (its title and the lines of the list, ended by "\r\n") built from
// what the search in geometry/nearest_stars.h finds, and where the window goes next to the
// click. The platform shows the window; the click point and mode live in the application state.
// Called by the shell's left-button handler, the commands, view navigation and start-up.
#pragma once

#include <string>

#include "app/platform_services.h"
#include "catalog/catalog.h"
#include "geometry/nearest_stars.h"
#include "geometry/vectors.h"

struct NearestStarsMode {
    int equatorial = 0;  // 0: ecliptic longitude/latitude, else right ascension/declination
    Matrix3 eclipticToEquatorial = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    float offsetLon = 0, offsetLat = 0;  // the epoch offsets, radians
};

// A left click at a client point of the main window: lists the stars nearest to it.
void queryNearestStars(int x, int y);
// The open list again for its last click, from the stars as the last repaint placed them.
void refreshNearestStars();
// The epoch, the offsets and the coordinate mode to the query; an open window is retitled.
void handNearestStarsMode();
// q: longitude/latitude or right ascension/declination, and the open list rewritten.
void toggleNearestStarsCoordinates();

// Passed as the click to refresh the open list for the last click.
constexpr int kRefreshClick = -1;

// The query: x and y are a client point in window pixels, or kRefreshClick for the last one.
// Lists the current constellation's nearest ancient star and up to five reference stars within
// `radius` device pixels of the device pixel under it.
// Returns 1 when something was listed. Nothing found shows "(no stars)" in an open window and
// nothing at all when the window is closed; a refresh with the window closed does nothing.
int nearestStarsQuery(int x, int y, double radius);

// Where a window of `width` x `height` goes for a click at screen point (x, y): its top-left
// corner 2 pixels below and right of the click, or, where it would pass the work area's right
// (bottom) edge, its right (bottom) edge 2 pixels left of (above) the click. The work area's left
// and top edges are not tested. Right and bottom edges of rectangles are exclusive.
ScreenRect placeNearClick(int x, int y, int width, int height, const ScreenRect& workArea);

// Stores the offsets and the mode; in equatorial mode builds the turn to the equator of `epoch`.
void nearestStarsSetMode(NearestStarsMode& mode, double epoch, float offsetLon, float offsetLat,
                         int equatorial);
// "Nearest Stars [lon/lat]" or "Nearest Stars [ra/dec]".
const char* nearestStarsTitle(const NearestStarsMode& mode);

// "ddd°mm' sdd°mm'" of two angles in radians, each rounded to whole arc minutes.
std::string positionText(double first, double second);

// What a list holds: the index of its ancient star in the constellation (-1 for none) and the
// catalogue entries of its reference stars.
struct NearestStarsFound {
    int ancient = -1;
    int references = 0;
    int reference[kNearestReferenceCount] = {};
};

// The list for a click: the nearest ancient star with its description, identification,
// designation, position and magnitude, a rule, then the reference stars. False when nothing was
// found. Texts of any length are kept whole.
bool buildNearestStarsList(const NearestStarsMode& mode, const Constellation& constellation,
                           const ReferenceStar* stars, int starCount, int x, int y,
                           double radius, std::string& text, NearestStarsFound* found = nullptr);
