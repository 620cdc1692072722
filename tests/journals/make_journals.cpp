// Flies the pilots of support/pilot.h and writes their journals and expected summaries into
// the folder given (tests/journals): NAME.vxj and NAME.summary for every flight, or only for
// the flights named after the folder.
//
//   build/tests/voxmere-make-journals tests/journals [calm_flight ...]
#include <cstdio>
#include <cstring>
#include <string>

#include "app/program_reset.h"
#include "assets/sound_bank.h"
#include "support/pilot.h"

namespace {

// Pickups collected, by their power-up sound.
int pickupsCollected = 0;
void countPickup(SoundId id, bool) {
    if (id == SoundPowerUp) ++pickupsCollected;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [FLIGHT ...]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    int made = 0;
    for (const pilot::Flight& flight : pilot::kJournalFlights) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i) wanted = wanted || std::strcmp(argv[i], flight.name) == 0;
        if (!wanted) continue;
        resetProgramState();
        const std::string journalPath = folder + "/" + flight.name + ".vxj";
        std::FILE* journal = std::fopen(journalPath.c_str(), "wb");
        if (journal == nullptr) {
            std::perror(journalPath.c_str());
            return 1;
        }
        std::string error;
        pickupsCollected = 0;
        setSoundRequestWatcher(countPickup);
        const std::string summary = pilot::recordFlight(flight, journal, error);
        const long bytes = std::ftell(journal);
        if (std::fclose(journal) != 0 || !error.empty()) {
            std::fprintf(stderr, "%s: %s\n", journalPath.c_str(), error.c_str());
            return 1;
        }
        const std::string summaryPath = folder + "/" + flight.name + ".summary";
        std::FILE* out = std::fopen(summaryPath.c_str(), "w");
        if (out == nullptr || std::fprintf(out, "%s\n", summary.c_str()) < 0 ||
            std::fclose(out) != 0) {
            std::perror(summaryPath.c_str());
            return 1;
        }
        std::printf("%s (%ld bytes, %d pickups collected): %s\n", journalPath.c_str(), bytes,
                    pickupsCollected, summary.c_str());
        ++made;
    }
    if (made == 0) {
        std::fprintf(stderr, "no flight by that name\n");
        return 2;
    }
    return 0;
}
