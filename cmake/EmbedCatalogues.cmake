# Writes OUTPUT, a C++ source holding each compiled catalogue of CATALOGUES
# (paths ending in LANGUAGE.mo) as bytes, and the table BuiltInCatalogues()
# returns.
set(arrays "")
set(rows "")
foreach(mo IN LISTS CATALOGUES)
  get_filename_component(language ${mo} NAME_WE)
  file(READ ${mo} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "constexpr std::uint8_t k_${language}[] = {\n    ${bytes}\n};\n")
  string(APPEND rows "    {\"${language}\", k_${language}},\n")
endforeach()
file(WRITE ${OUTPUT}.new "// Generated from po/ by cmake/EmbedCatalogues.cmake; do not edit.
#include <cstdint>

#include \"Catalogues.h\"

namespace pavok {

namespace {
${arrays}
const Language kCatalogues[] = {
${rows}};
}  // namespace

std::span<const Language> BuiltInCatalogues() { return kCatalogues; }

}  // namespace pavok
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
