#include "countrycodes/oracle/KVCorpus.h"

#include <algorithm>

namespace kvcc {

std::vector<KVCorpusCase> BuildCorpus(const KVCountryTable& table, const std::vector<KVRegionExamples>& examples) {
    std::vector<KVCorpusCase> cases;
    const std::size_t count = examples.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& code = examples[i].first;
        const KVRegion* region = table.FindRegion(code);
        if (!region) continue;
        // A home country that changes from region to region, so that many international
        // prefixes are tried.
        const KVRegion* home = table.FindRegion(examples[(i * 7 + 3) % count].first);
        const std::string homeCode = home ? home->code : std::string();
        const std::string cc = std::to_string(region->callingCode);
        auto add = [&](const std::string& text, const char* form) { cases.push_back({text, code, homeCode, form}); };
        for (const std::string& nsn : examples[i].second) {
            if (nsn.size() < 2) continue;
            add(nsn, "national");
            if (!region->trunkPrefix.empty()) add(region->trunkPrefix + nsn, "trunk prefix");
            add("+" + cc + " " + nsn, "+cc");
            add("00" + cc + nsn, "00cc");
            add(cc + nsn, "cc without +");
            const std::size_t cut = nsn.size() / 2;
            add("+" + cc + " (" + nsn.substr(0, 1) + ") " + nsn.substr(1, cut) + "-" + nsn.substr(1 + cut), "separators");
            if (!region->trunkPrefix.empty()) {
                add(region->trunkPrefix + " " + nsn.substr(0, cut) + " " + nsn.substr(cut), "trunk prefix, spaces");
            }
            add(nsn.substr(0, nsn.size() - 1), "digit dropped");
            add(nsn + "5", "digit added");
            add("+" + cc + nsn.substr(0, nsn.size() - 1), "+cc, digit dropped");
            if (home && !home->DialledIdd().empty()) {
                std::string idd = home->DialledIdd();
                idd.erase(std::remove(idd.begin(), idd.end(), '~'), idd.end());
                add(idd + " " + cc + " " + nsn, "home international prefix");
            }
        }
        // Another region's numbers given this region.
        const auto& other = examples[(i + 1) % count];
        const KVRegion* otherRegion = table.FindRegion(other.first);
        if (otherRegion && !other.second.empty()) {
            const std::string& nsn = other.second.front();
            add(nsn, "other region, national");
            add("+" + std::to_string(otherRegion->callingCode) + nsn, "other region, +cc");
        }
    }
    return cases;
}

}  // namespace kvcc
