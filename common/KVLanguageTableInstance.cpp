#include "common/KVLanguageTable.h"

// Built on the first request rather than as a global of this file. The table reads
// "LogLangFile" from the registry when it is built, and a global would do that while the
// module loads: under the loader lock, where registry calls are unsafe, and before the
// globals of other files that the reading may touch are built. Every text comes through
// here, so the first export that needs one builds it; it goes with the module's other
// statics when the module unloads.
KVLanguageTable& KVLanguageTable::Instance() {
    static KVLanguageTable table;
    return table;
}
