// Test helper: a factor's catalogue index from its id.
#pragma once

#include "factors/Catalogue.h"

// The catalogue index of the factor with id `id` ("H03"), which must exist.
inline int FactorIndex(const char* id) { return kestal::CatalogueIndex(*kestal::FindFactor(id)); }
