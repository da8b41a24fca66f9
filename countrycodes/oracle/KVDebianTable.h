// Reads the numbering metadata compiled into Debian's libphonenumber and writes it as a
// KVCountryCodes table, so that our rules can be checked on exactly that library's data.
#pragma once

#include <string>
#include <vector>

#include "countrycodes/oracle/KVCorpus.h"

namespace kvcc {

struct KVDebianData {
    std::string table;                       // text form, same format as data/countries.kvcc
    std::vector<KVRegionExamples> examples;  // every example number of every region
};

KVDebianData ReadDebianMetadata();

}  // namespace kvcc
