#include "app/find.h"

#include <algorithm>

#include "app/navigation.h"
#include "app/platform_services.h"
#include "app/state.h"
#include "catalog/text_format.h"

namespace {

// What the dialog's list is built from, and the search behind the list it shows.
struct FindSession {
    const AncientCatalog& edition;
    const ReferenceCatalog& reference;
    StarSearch search;
};

std::vector<std::string> listMatches(void* context, const std::string& query) {
    FindSession& session = *static_cast<FindSession*>(context);
    session.search = searchStars(query, session.edition, session.reference);
    return foundLines(session.search, session.edition, session.reference);
}

int heldStars(const Constellation& constellation) {
    return std::min(std::max(constellation.starCount, 0), int(constellation.stars.size()));
}

// Where an ancient star is drawn: its catalogue position with the offsets the renderer adds.
Vector3 drawnDirection(const AncientStar& star) {
    const RenderRequest request = makeRenderRequest();
    Vector3 direction;
    lonLatToVec3(float(ancientLonDegrees(star) * kDegToRad + request.lonOffset),
                 float(ancientLatDegrees(star) * kDegToRad + request.latOffset), direction);
    return direction;
}

}  // namespace

std::vector<std::string> foundLines(const StarSearch& search, const AncientCatalog& edition,
                                    const ReferenceCatalog& reference) {
    std::vector<std::string> lines;
    for (const FoundStar& found : search.found) {
        if (found.kind == FoundKind::Constellation) {
            const char* name = kConstellationTable[found.constellation].name;
            lines.push_back(formatText("Constellation  %s", name));
        } else if (found.kind == FoundKind::AncientStar) {
            const Constellation& constellation = edition.constellations[found.constellation];
            const AncientStar& star = constellation.stars[size_t(found.star)];
            lines.push_back(formatText("Tessaran  %4d  %-12s %s %d", star.catalogNumber,
                                       withoutTrailingBlanks(star.designation).c_str(),
                                       constellation.name.c_str(), star.numberInConstellation));
        } else {
            const ReferenceStar& star = reference.stars[found.star];
            const int in = constellationIdentifying(edition, star.number);
            lines.push_back(formatText("Reference %4d  %-12s %5.2f %s", star.number,
                                       withoutTrailingBlanks(star.name).c_str(), star.magnitude,
                                       in >= 0 ? edition.constellations[in].name.c_str()
                                               : "(no Tessaran star)"));
        }
    }
    if (search.total > int(search.found.size()))
        lines.push_back(formatText("(the first %zu of %d matches)", search.found.size(),
                                   search.total));
    return lines;
}

int constellationIdentifying(const AncientCatalog& edition, int referenceNumber) {
    for (int c = 0; c < kConstellationCount; ++c)
        for (int s = 0; s < heldStars(edition.constellations[c]); ++s)
            if (edition.constellations[c].stars[size_t(s)].identification == referenceNumber)
                return c;
    return -1;
}

void findStar() {
    const AncientCatalog* edition = currentEdition(theApp.catalogs);
    if (!catalogsLoaded() || !edition) return;
    FindSession session{*edition, *theApp.reference, {}};
    int chosen = -1;
    if (!platformFindDialog(listMatches, &session, chosen)) return;
    if (chosen < 0 || chosen >= int(session.search.found.size())) return;
    goToFound(session.search.found[size_t(chosen)]);
}

void goToFound(const FoundStar& found) {
    const AncientCatalog* edition = currentEdition(theApp.catalogs);
    if (!edition || !theApp.reference) return;
    if (found.kind == FoundKind::Constellation) {
        selectConstellation(found.constellation);
        return;
    }
    int constellation = found.constellation;
    if (found.kind == FoundKind::ReferenceStar) {
        const int number = theApp.reference->stars[found.star].number;
        constellation = constellationIdentifying(*edition, number);
        if (constellation < 0) constellation = theApp.constellation;
    }
    if (constellation != theApp.constellation) selectConstellation(constellation);
    const Vector3 direction =
        found.kind == FoundKind::AncientStar
            ? drawnDirection(edition->constellations[constellation].stars[size_t(found.star)])
            : theApp.reference->stars[found.star].dir;
    double lon, lat;
    vec3ToLonLat(direction, lon, lat);
    theApp.view.centerLon = lon;
    theApp.view.centerLat = lat;
    viewUpdate(theApp.view);
    theApp.find = {true, direction};
    platformRepaint();
}

void endFindHighlight() {
    if (!theApp.find.ringShown) return;
    theApp.find.ringShown = false;
    platformRepaint();
}
