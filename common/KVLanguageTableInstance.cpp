#include "common/KVLanguageTable.h"

// Built when the module loads, before any export runs, and gone when it unloads.
static KVLanguageTable g_languageTable;

KVLanguageTable& KVLanguageTable::Instance() { return g_languageTable; }
