// KVCorpus: the test numbers built from every region's example numbers, the same for the
// comparison with Debian's libphonenumber and with google-libphonenumber.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "countrycodes/src/KVCountryTable.h"

namespace kvcc {

struct KVCorpusCase {
    std::string text;    // as a person might type it
    std::string region;  // the region given with it
    std::string home;    // the home country in force
    std::string form;    // how it was made, for reports
};

// Example national numbers of one region (any number type).
using KVRegionExamples = std::pair<std::string, std::vector<std::string>>;

std::vector<KVCorpusCase> BuildCorpus(const KVCountryTable& table, const std::vector<KVRegionExamples>& examples);

}  // namespace kvcc
