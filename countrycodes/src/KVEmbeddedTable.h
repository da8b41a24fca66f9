// The numbering table built into KVCountryCodes (data/countries.kvcc, compiled in).
#pragma once

#include <string_view>

namespace kvcc {

std::string_view EmbeddedTable();

}  // namespace kvcc
