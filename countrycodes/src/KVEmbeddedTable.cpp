#include "KVEmbeddedTable.h"

namespace kvcc {

namespace {
const char kTable[] =
#include "EmbeddedTable.inc"
    ;
}  // namespace

std::string_view EmbeddedTable() { return {kTable, sizeof kTable - 1}; }

}  // namespace kvcc
