// Writes a complete but synthetic reference catalogue and edition into a folder, for the
// snapshot tool's own tests: tessaran-snapshot-fixture FOLDER.
#include <cstdio>
#include <string>

#include "catalog/edition_file.h"
#include "catalog/reference_file.h"
#include "catalog_fixtures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaran-snapshot-fixture FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::vector<ReferenceRecord> records = sampleReferenceRecords();
    EditionPtr edition = sampleEdition("Snapshot fixture");
    if (!writeReferenceCatalog((folder + "/catb.bin").c_str(), records.data(), int(records.size())) ||
        !writeEdition((folder + "/cat1.dat").c_str(), *edition)) {
        std::fprintf(stderr, "tessaran-snapshot-fixture: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
