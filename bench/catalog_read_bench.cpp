// Start-up reading: the reference catalogue and the three editions, as the program reads them
// before its window opens. The files are written once into a temporary folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "catalog/edition_file.h"
#include "catalog/reference_file.h"
#include "catalog_fixtures.h"

namespace {

struct CatalogFiles {
    std::string folder;
    std::string reference;
    std::string editions[kEditionSlotCount];

    CatalogFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaran-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        reference = folder + "/catb.bin";
        std::vector<ReferenceRecord> records = sampleReferenceRecords();
        if (!writeReferenceCatalog(reference.c_str(), records.data(), int(records.size()))) std::abort();
        for (int slot = 0; slot < kEditionSlotCount; ++slot) {
            editions[slot] = folder + "/cat" + std::to_string(slot + 1) + ".dat";
            if (!writeEdition(editions[slot].c_str(), *sampleEdition("edition"))) std::abort();
        }
    }
    ~CatalogFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

const CatalogFiles& catalogFiles() {
    static CatalogFiles files;
    return files;
}

void readAllCatalogues(benchmark::State& state) {
    const CatalogFiles& files = catalogFiles();
    auto catalog = std::make_unique<ReferenceCatalog>();
    CatalogSet set;
    for (auto _ : state) {
        bool ok = readReferenceCatalog(files.reference.c_str(), *catalog);
        for (int slot = 0; slot < kEditionSlotCount; ++slot) {
            set.slots[slot] = readEdition(files.editions[slot].c_str());
            ok = ok && set.slots[slot];
        }
        if (!ok) state.SkipWithError("a catalogue file could not be read");
        benchmark::DoNotOptimize(catalog->stars[0].color);
        benchmark::DoNotOptimize(set.slots[2].get());
    }
}
BENCHMARK(readAllCatalogues)->Unit(benchmark::kMillisecond);

void readReferenceOnly(benchmark::State& state) {
    const CatalogFiles& files = catalogFiles();
    auto catalog = std::make_unique<ReferenceCatalog>();
    for (auto _ : state) {
        if (!readReferenceCatalog(files.reference.c_str(), *catalog))
            state.SkipWithError("the reference catalogue could not be read");
        benchmark::DoNotOptimize(catalog->stars[0].color);
    }
}
BENCHMARK(readReferenceOnly)->Unit(benchmark::kMillisecond);

void readOneEdition(benchmark::State& state) {
    const CatalogFiles& files = catalogFiles();
    for (auto _ : state) {
        EditionPtr edition = readEdition(files.editions[0].c_str());
        if (!edition) state.SkipWithError("the edition could not be read");
        benchmark::DoNotOptimize(edition.get());
    }
}
BENCHMARK(readOneEdition)->Unit(benchmark::kMillisecond);

}  // namespace
