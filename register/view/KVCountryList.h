// The wizard's country list and the country-code service behind it.
// Free functions: KVFillCountryList, KVSelectCountry.
#pragma once

#include <string>

#include "vuda32/WindowControls/QCombobox.h"

// Adds the name of every country the service lists (the list sorts itself). False when the
// service fails or the list ends up empty.
bool KVFillCountryList(QCombobox& list);

// Selects the entry whose whole text is `name`, from the top; none matching clears the
// selection. A list that was never created is left alone.
void KVSelectCountry(QCombobox& list, const std::string& name);
