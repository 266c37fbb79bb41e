#include "ImageFormatTexts.h"

#include "Translation.h"


namespace pavok {

namespace {

constexpr bool EveryFaultHasItsText() {
  for (std::size_t i = 0; i < kImageFaultTexts.size(); ++i) {
    if (static_cast<std::size_t>(kImageFaultTexts[i].fault) != i) return false;
  }
  return true;
}
static_assert(EveryFaultHasItsText(), "kImageFaultTexts follows the order of ImageFault");

}  // namespace

std::string ImageFaultMessage(const ImageFaultAt& at) {
  return FormatText(Tr("Ошибка в строке %1 файла: %2"),
                    {std::to_string(at.line), Tr(kImageFaultTexts[static_cast<std::size_t>(at.fault)].reason)});
}

}  // namespace pavok
