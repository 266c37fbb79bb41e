#pragma once
// The compiled catalogues the build embeds, one per line of po/LINGUAS
// (generated from po/*.po into Catalogues.cpp).

#include <span>

#include "Translation.h"

namespace pavok {

std::span<const Language> BuiltInCatalogues();

}  // namespace pavok
