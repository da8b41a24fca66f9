// kvcountry_eval TABLE: reads "REGION<TAB>nsn,nsn,..." lines (example numbers) on standard
// input, builds the test corpus on TABLE and prints one line per case:
// text, region, home, form, our plain answer, our answer with the additions.
#include <fstream>
#include <iostream>
#include <sstream>

#include "countrycodes/oracle/KVCorpus.h"
#include "countrycodes/src/KVNumberRules.h"

using namespace kvcc;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kvcountry_eval TABLE < examples\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::string error;
    auto table = KVCountryTable::Parse(bytes.str(), error, true);
    if (!table) {
        std::cerr << argv[1] << ": " << error << "\n";
        return 1;
    }
    std::vector<KVRegionExamples> examples;
    for (std::string line; std::getline(std::cin, line);) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        KVRegionExamples entry{line.substr(0, tab), {}};
        std::istringstream numbers(line.substr(tab + 1));
        for (std::string nsn; std::getline(numbers, nsn, ',');) {
            if (!nsn.empty()) entry.second.push_back(nsn);
        }
        examples.push_back(std::move(entry));
    }
    KVNumberRules rules(table);
    for (const KVCorpusCase& c : BuildCorpus(*table, examples)) {
        const KVRegion& region = *table->FindRegion(c.region);
        KVMsisdnOptions strict;
        strict.anyRegionOfCallingCode = false;
        KVMsisdnOptions full;
        full.home = table->FindRegion(c.home);
        std::cout << c.text << '\t' << c.region << '\t' << c.home << '\t' << c.form << '\t'
                  << rules.ToMsisdn(c.text, region, strict) << '\t' << rules.ToMsisdn(c.text, region, full) << '\n';
    }
    return 0;
}
