#pragma once
// What the user is told about an image file whose contents cannot be used,
// every text as it is shown.

#include <array>
#include <string>
#include <string_view>

#include "DecodedImage.h"

namespace pavok {

struct ImageFaultText {
  ImageFault fault;
  std::string_view reason;
};

inline constexpr std::array<ImageFaultText, 12> kImageFaultTexts{{
    {ImageFault::MissingColon, "строка не начинается с «:»"},
    {ImageFault::MissingS, "строка не начинается с «S»"},
    {ImageFault::BadCharacter, "недопустимый символ"},
    {ImageFault::OddDigitCount, "нечётное число шестнадцатеричных цифр"},
    {ImageFault::BadLength, "неверная длина записи"},
    {ImageFault::BadChecksum, "неверная контрольная сумма"},
    {ImageFault::UnknownType, "неизвестный тип записи"},
    {ImageFault::BeyondChip, "адрес за пределами микросхемы"},
    {ImageFault::AfterEnd, "запись после конца файла"},
    {ImageFault::NoEnd, "нет записи конца файла"},
    {ImageFault::NoData, "в файле нет данных"},
    {ImageFault::CountMismatch, "неверное число записей данных"},
}};

// A text image larger than kMaxTextImageFileSize.
inline constexpr std::string_view kImageFileTooLargeMessage = "Файл слишком большой";

// "Ошибка в строке 12 файла: неверная контрольная сумма".
std::string ImageFaultMessage(const ImageFaultAt& at);

}  // namespace pavok
